#!/usr/bin/env bash
# Renders the star map and the horoscope for a few moments and places to PNG files in docs/renders,
# through headless Chromium, so that a person can look at them. Needs the chromium package.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v chromium >/dev/null || { echo "chromium is not installed (apt-get install chromium)"; exit 1; }
scripts/build.sh dev >/dev/null
cli=build/dev/src/cli/morvane-astro-cli
out=docs/renders
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

render() {  # name chart width height [options…]
  local name=$1 chart=$2 width=$3 height=$4
  shift 4
  {
    printf '<!DOCTYPE html><html><head><meta charset="utf-8"><style>'
    printf 'html,body{margin:0;background:#1e1e1e}svg{display:block;width:100%%;height:100%%}'
    printf '</style></head><body>'
    "$cli" "$chart" "$@"
    printf '</body></html>'
  } > "$work/$name.html"
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --hide-scrollbars --force-device-scale-factor=2 \
    --window-size="$width,$height" --screenshot="$out/$name.png" "file://$work/$name.html" \
    >/dev/null 2>&1
  echo "$out/$name.png"
}

render starmap-default starmap 720 720
render horoscope-default horoscope 1440 760
render starmap-night starmap 720 720 --date 720-3-10 --time 22:00 --lat 40.5N --lon 20.9W
render horoscope-night horoscope 1440 760 --date 720-3-10 --time 22:00 --lat 40.5N --lon 20.9W
render starmap-south starmap 720 720 --date 720-8-20 --time 02:15 --lat 35S --lon 140E
render horoscope-south horoscope 1440 760 --date 720-8-20 --time 02:15 --lat 35S --lon 140E
render starmap-pole starmap 720 720 --date 721-1-1 --time 00:00 --lat 90N --lon 0
