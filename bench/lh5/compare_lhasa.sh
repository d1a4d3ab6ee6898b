#!/usr/bin/env bash
# Our depacker against lhasa on the same archive, both writing the member to
# standard output: bench/lh5/compare_lhasa.sh [BUILD_DIR] [FRAMES]
# The archive is a register-dump-like song packed by our lh5pack: 16 columns
# of FRAMES frames (13,000 by default, about 200 KB; more lets the depacking
# outweigh the start of the processes). A build configured with
# -DVITRELUME_STATIC_LH5UNPACK=ON spares lh5unpack the dynamic loader's work.
set -eu
build=${1:-build}
frames=${2:-13000}
tools="$build/lh5"
for tool in lh5pack lh5unpack; do
  [ -x "$tools/$tool" ] || { echo "build $tool first (cmake --build $build --target $tool)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Held notes, a loop, envelope steps.
LC_ALL=C awk -v frames="$frames" 'BEGIN { srand(7); for (r = 0; r < 16; r++) for (f = 0; f < frames; f++) {
       note = (int(f / 6) * 5 + r * 3 + int(f / 384) % 4) % 24
       v = (r < 6) ? (r % 2 ? int(note / 12) : (note * 37) % 256) : (r <= 10 ? 15 - (f % 6) * 2 + (rand() < 0.1) : 0)
       printf "%c", 32 + v % 200 } }' > "$work/song.ym"
"$tools/lh5pack" "$work/song.ym" "$work/song.lzh"
"$tools/lh5unpack" "$work/song.lzh" | cmp - "$work/song.ym"
lhasa pq "$work/song.lzh" | cmp - "$work/song.ym"
echo "song: $(stat -c %s "$work/song.ym") bytes, archive: $(stat -c %s "$work/song.lzh") bytes"
hyperfine -N --warmup 20 --min-runs 200 \
  -n lh5unpack "$tools/lh5unpack $work/song.lzh" \
  -n lhasa "lhasa pq $work/song.lzh"
