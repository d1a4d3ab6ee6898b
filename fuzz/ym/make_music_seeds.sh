#!/usr/bin/env bash
# Seeds of fuzz_music: one short song of every kind, plain, and some of them
# packed by our packer and by jlha (when it is installed).
#   make_music_seeds.sh MAKE_TEST_SONGS LH5PACK SEEDS_DIR
set -euo pipefail
make_songs=${1:?make_test_songs path}
lh5pack=${2:?lh5pack path}
out=${3:?seed folder}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$make_songs" "$work" --seconds 2
cp "$work"/*.ym "$out/"
for song in ym5-effects ym6-effects ymt2 mix1; do
  "$lh5pack" "$work/$song.ym" "$out/$song.lzh"
done
if command -v jlha >/dev/null 2>&1; then
  for song in ym2 ym3b ymt1; do
    (cd "$work" && jlha c0o5 "$song.lzh" "$song.ym" >/dev/null 2>&1) && cp "$work/$song.lzh" "$out/$song-jlha.lzh"
  done
fi
