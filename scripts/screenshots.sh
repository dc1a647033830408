#!/usr/bin/env bash
# Takes the user guide's screenshots from the real application in a virtual X server and
# writes them to docs/screenshots. Installs Xvfb when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v xvfb-run >/dev/null; then
  if [ "$(id -u)" -eq 0 ]; then apt-get install -y -qq xvfb xauth >/dev/null; else sudo apt-get install -y -qq xvfb xauth >/dev/null; fi
fi
scripts/build.sh dev >/dev/null
mkdir -p docs/screenshots
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1600x1000x24" build/dev/tools/screenshots/screenshots docs/screenshots
