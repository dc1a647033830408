#!/usr/bin/env bash
# Screenshots of the whole screen with the window as a new user first sees it, under a real
# window manager (openbox) in a virtual X server: at 1366 × 768, at 1600 × 1000, at 1600 × 1000
# with QT_SCALE_FACTOR=2, and at 1600 × 1000 in a dark palette. Usage:
#   scripts/window-shots.sh [OUTPUT_FOLDER]      (default: build/window-shots)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/window-shots}"
need=()
for package in xvfb openbox; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || need+=("$package")
done
if [ "${#need[@]}" -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then apt-get install -y -qq "${need[@]}" >/dev/null; else sudo apt-get install -y -qq "${need[@]}" >/dev/null; fi
fi
[ -n "${NO_BUILD:-}" ] || scripts/build.sh dev >/dev/null
mkdir -p "$out"
unset QT_QPA_PLATFORM

shoot() {  # WIDTHxHEIGHT NAME [SCALE] [--dark]
  local size=$1 name=$2 scale=${3:-1} dark=${4:-}
  local display=:$((100 + RANDOM % 100))
  Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  sleep 1
  DISPLAY=$display openbox >/dev/null 2>&1 &
  local wm=$!
  sleep 1
  DISPLAY=$display QT_SCALE_FACTOR=$scale build/dev/tools/screenshots/screenshots --screen "$out" "$name" $dark
  kill "$wm" "$xvfb" 2>/dev/null || true
  wait "$wm" "$xvfb" 2>/dev/null || true
}

shoot 1366x768 1366x768
shoot 1600x1000 1600x1000
shoot 1600x1000 1600x1000-scale2 2
shoot 1600x1000 1600x1000-dark 1 --dark
