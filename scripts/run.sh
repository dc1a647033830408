#!/usr/bin/env bash
# Installs what is missing, builds, and starts Morvane Astro.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
exec build/release/src/app/morvane-astro "$@"
