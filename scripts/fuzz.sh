#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 30), starting from
# the seeds in tests/fuzz/corpus/<target>. New inputs go to a scratch corpus, so the run changes
# nothing in the checkout; crashes are saved as build/fuzz/crashes/<target>-*.
# With FUZZ_KEEP_CORPUS=1 the new inputs are merged into tests/fuzz/corpus for committing.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/crashes
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config"
status=0
for target in fuzz_locations fuzz_settings fuzz_calculation fuzz_cli; do
  seeds="tests/fuzz/corpus/${target#fuzz_}"
  mkdir -p "$scratch/$target"
  log="build/fuzz/$target.log"
  if build/fuzz/tests/fuzz/$target "$scratch/$target" "$seeds" -max_total_time="$seconds" \
       -timeout=20 -rss_limit_mb=4096 -max_len=4096 -print_final_stats=1 \
       -artifact_prefix="build/fuzz/crashes/$target-" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  echo "$target: $result, $runs executions in ${seconds} s (log: $log)"
  [ "$result" = ok ] || tail -n 30 "$log"
  if [ "${FUZZ_KEEP_CORPUS:-0}" = 1 ]; then
    build/fuzz/tests/fuzz/$target -merge=1 "$seeds" "$scratch/$target" >/dev/null 2>&1 || true
  fi
done
exit "$status"
