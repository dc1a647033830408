#!/usr/bin/env bash
# Formats every tracked C++ file with the project's .clang-format, or with --check lists the files
# that differ and fails. Only tracked files: a build folder or a scratch file is nobody's style.
#
#   scripts/format.sh           rewrite the files in place
#   scripts/format.sh --check   change nothing; exit 1 if a file is not formatted
set -euo pipefail
cd "$(dirname "$0")/.."

# The same major version everywhere: another clang-format formats some constructs differently.
formatter=${CLANG_FORMAT:-clang-format}
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')

case "${1:-}" in
  --check)
    unformatted=()
    for file in "${files[@]}"; do
      if ! "$formatter" --style=file "$file" | cmp -s - "$file"; then
        unformatted+=("$file")
      fi
    done
    if [ "${#unformatted[@]}" -gt 0 ]; then
      printf 'Not formatted (run scripts/format.sh):\n' >&2
      printf '  %s\n' "${unformatted[@]}" >&2
      exit 1
    fi
    echo "format: ${#files[@]} files formatted"
    ;;
  "")
    "$formatter" --style=file -i "${files[@]}"
    ;;
  *)
    echo "usage: scripts/format.sh [--check]" >&2
    exit 2
    ;;
esac
