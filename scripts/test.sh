#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the formatting and clang-tidy checks, the
# whole suite, then the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer,
# the model's pipeline tests under ThreadSanitizer, and each fuzz target for FUZZ_SECONDS
# (default 30). Ends with one line that adds up every test run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# The presets leave parallelism to the caller; CI machines differ in cores.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"

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

# Style first: it takes seconds, and a failure here should not wait for the builds.
echo "== format"
if scripts/format.sh --check; then
  passed=$((passed + 1))
else
  echo "tests: $passed passed, 1 failed"
  exit 1
fi

echo "== build and test"
scripts/build.sh dev
run_ctest dev

echo "== clang-tidy over the pure libraries"
if cmake --preset tidy >/dev/null && cmake --build --preset tidy; then
  passed=$((passed + 1))
else
  echo "tests: $passed passed, $((failed + 1)) failed"
  exit 1
fi

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
