#!/usr/bin/env bash
# Rebuilds the song from its score: compiles vitrelume.score into a "YM5!"
# file and packs it as resources/217-music.lh5 (member name song.ym).
#   generators/compose/build-song.sh [BUILD_DIR]     (default: build, configured when missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target ymcompose lh5pack >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/generators/compose/ymcompose" "$root/generators/compose/vitrelume.score" -o "$tmp/song.ym" --sections
"$build/lh5/lh5pack" "$tmp/song.ym" "$root/resources/217-music.lh5" --name song.ym
echo "resources/217-music.lh5: $(stat -c %s "$root/resources/217-music.lh5") bytes"
