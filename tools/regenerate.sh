#!/usr/bin/env bash
# Makes all generated content again from its sources and generators: the
# pictures, the Windows icon, the scroll text, the built-in drum set, the song
# and the pictures in docs/. The outputs are committed; CTest checks that this reproduces them.
#   tools/regenerate.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target make_pictures make_icon make_scrolltext make_drum_set ymcompose lh5pack ymrender >/dev/null

"$build/generators/pictures/make_pictures" "$root/resources"
"$build/generators/pictures/make_icon" "$root/resources/icon/vitrelume.ico"
"$build/generators/make_scrolltext" "$root/generators/scrolltext/scrolltext.src" "$root/resources/181-scrolltext.txt"
"$build/generators/make_drum_set" "$root/ym/drum_set_data.cpp"
"$root/generators/compose/build-song.sh" "$build"
"$root/generators/pictures/contact_sheet.sh"
"$root/generators/compose/spectrogram.sh" "$build"
git -C "$root" status --short -- resources ym/drum_set_data.cpp docs
