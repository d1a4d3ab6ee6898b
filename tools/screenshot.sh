#!/usr/bin/env bash
# Takes the README's pictures: docs/screenshot.png, the real program on a
# 1920x1080 virtual display with the title at full brightness, scaled to half
# size; and docs/main-scene.png, frame step 1100 of the production (the main
# scene with the first card) from the capture tool, scaled by 3.
#   tools/screenshot.sh [BUILD_DIR]    (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target vitrelume vitrelume-capture >/dev/null
program=$build/app/sdl/vitrelume
out=$root/docs/screenshot.png
export program out
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
  SDL_AUDIODRIVER=dummy "$program" >/dev/null &
  pid=$!
  sleep 3
  import -window root "$out.full.png" && convert "$out.full.png" -sample 50% -strip "$out" && rm "$out.full.png"
  xdotool key Escape
  wait $pid'
echo "$out written"

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
"$build/programs/capture/vitrelume-capture" --frames 1100 --png "$shots" --shot 1100 >/dev/null
convert "$shots/001100.png" -sample 300% -strip "$root/docs/main-scene.png"
echo "$root/docs/main-scene.png written"
