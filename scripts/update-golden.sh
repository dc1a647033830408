#!/usr/bin/env bash
# Rewrites the expected outputs of the golden cases from the current build. Review the diff
# (git diff tests/golden) against known reference values before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh dev
MORVANE_UPDATE_GOLDEN=1 ctest --preset dev -L golden
git status --short tests/golden
