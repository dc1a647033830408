#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the whole suite, then the whole suite
# again under AddressSanitizer and UndefinedBehaviorSanitizer, the model's pipeline tests under
# ThreadSanitizer, and each fuzz target for FUZZ_SECONDS (default 30). Ends with one line that
# adds up every test run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

passed=0
failed=0
run_ctest() {  # preset
  local log
  log=$(mktemp)
  if ctest --preset "$1" 2>&1 | tee "$log"; then :; fi
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  rm -f "$log"
  [ -n "$line" ] || { echo "ctest --preset $1 ran no test"; exit 1; }
  local total bad
  total=$(echo "$line" | sed -E 's/.* out of ([0-9]+).*/\1/')
  bad=$(echo "$line" | sed -E 's/.*, ([0-9]+) tests? failed.*/\1/')
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  [ "$bad" -eq 0 ] || { echo "tests: $passed passed, $failed failed"; exit 1; }
}

echo "== build and test"
scripts/build.sh dev
run_ctest dev

echo "== the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh asan
run_ctest asan

echo "== the model's pipeline tests under ThreadSanitizer"
scripts/build.sh tsan
run_ctest tsan-model

echo "== fuzzing"
if scripts/fuzz.sh "${FUZZ_SECONDS:-30}"; then
  passed=$((passed + 4))
else
  failed=$((failed + 1))
fi
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
