#!/usr/bin/env bash
# Starts Morvane Astro on a private X display with a window manager and a private accessibility
# bus, and prints its accessibility tree as a screen reader reads it (AT-SPI), with the list of
# operable controls that have no name. Usage: scripts/accessibility-tree.sh [TAB_SHORTCUT_KEY …]
# e.g. `scripts/accessibility-tree.sh ctrl+4` dumps the tree with the Sun & Moon output shown.
set -euo pipefail
cd "$(dirname "$0")/.."
need=()
for package in xvfb openbox xdotool dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || need+=("$package")
done
if [ "${#need[@]}" -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then apt-get install -y -qq "${need[@]}" >/dev/null; else sudo apt-get install -y -qq "${need[@]}" >/dev/null; fi
fi
[ -x build/dev/src/app/morvane-astro ] || scripts/build.sh dev >/dev/null

export KEYS="$*"
exec dbus-run-session -- bash -c '
  set -euo pipefail
  home=$(mktemp -d)
  trap "kill \$(jobs -p) 2>/dev/null || true; rm -rf \$home" EXIT
  export XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
  sleep 1
  export DISPLAY=$display
  openbox >/dev/null 2>&1 &
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  sleep 1
  unset QT_QPA_PLATFORM
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 build/dev/src/app/morvane-astro >/dev/null 2>&1 &
  sleep 4
  for key in $KEYS; do
    xdotool search --sync --name "Morvanian Astrologer" windowactivate --sync >/dev/null 2>&1 || true
    xdotool key "$key"; sleep 1
  done
  /usr/bin/python3 tools/accessibility/dump_tree.py MorvaneAstro
'
