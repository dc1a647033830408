#!/usr/bin/env bash
# Configures and builds one CMake preset (default: dev), on every core unless
# CMAKE_BUILD_PARALLEL_LEVEL says otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
