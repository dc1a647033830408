#!/usr/bin/env bash
# Installs what is missing, builds, and starts Morvane Astro. Until the desktop window exists
# this shows the command-line companion's answer for the default moment and place.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
cli=build/release/src/cli/morvane-astro-cli
"$cli" labels
echo
"$cli" positions
