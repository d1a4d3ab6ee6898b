#!/usr/bin/env bash
# Takes docs/screenshot.png: the real program on a 1920x1080 virtual display,
# the title at full brightness, scaled to half size.
#   tools/screenshot.sh [PROGRAM]    (default: build/app/sdl/vitrelume)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/app/sdl/vitrelume}
out=$root/docs/screenshot.png
export program out
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
  SDL_AUDIODRIVER=dummy "$program" >/dev/null &
  pid=$!
  sleep 3
  import -window root "$out.full.png" && convert "$out.full.png" -sample 50% "$out" && rm "$out.full.png"
  xdotool key Escape
  wait $pid'
echo "$out written"
