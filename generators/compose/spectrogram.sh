#!/usr/bin/env bash
# Renders the first minute of the packed song the way the demo plays it and
# draws its spectrogram into docs/music-spectrogram.png.
#   generators/compose/spectrogram.sh [BUILD_DIR]    (default: build, configured when missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target ymrender >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/programs/ymrender/ymrender" "$root/resources/217-music.lh5" -o "$tmp/minute.wav" --seconds 60
sox "$tmp/minute.wav" -n remix 1 spectrogram -x 1200 -y 513 -z 90 \
  -t "Vitrelume 15th Anniversary: the music's first minute" -o "$root/docs/music-spectrogram.png"
echo "docs/music-spectrogram.png written"
