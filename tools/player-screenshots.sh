#!/usr/bin/env bash
# Takes the README's pictures of the players: docs/player-terminal.png, ymplay's
# view of the production's song a little way in, with voice B muted, in an
# 80 x 24 terminal (read back with pyte and painted by ImageMagick); and
# docs/player-page.png, the player page with generated songs chosen.
#   tools/player-screenshots.sh [BUILD_DIR]    (default: build; the page comes from build-web/site)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target ymplay make_test_songs >/dev/null
[ -f "$root/build-web/site/player.html" ] || "$root/tools/build-web.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/generators/make_test_songs" "$work/songs" --seconds 30

right=$'\eOC'  # the Right key as a terminal in keypad mode sends it
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw" /usr/bin/python3 "$root/tools/terminal_picture.py" \
  "$root/docs/player-terminal.png" "1:$right$right$right$right$right$right" 3:2 0.5 -- \
  "$build/programs/ymplay/ymplay" "$root/resources/217-music.lh5" "$work/songs"
echo "$root/docs/player-terminal.png written"

node "$root/tools/player-page-screenshot.mjs" "$root/build-web/site" \
  "$work/songs/ym6-effects.ym" "$work/songs/ymt2.ym" "$work/songs/mix1.ym" "$work/songs/ym2.ym"
