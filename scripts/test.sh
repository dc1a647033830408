#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; then the model's tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, since they start and drop background work.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh dev
ctest --preset dev

echo "== model tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan --target model_tests
ctest --preset asan-model
