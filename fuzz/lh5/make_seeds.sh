#!/usr/bin/env bash
# Seed corpora for the lh5 fuzz targets, from archives that our packer and
# jlha make of generated inputs:
#   make_seeds.sh LH5PACK ARCHIVE_SEEDS_DIR STREAM_SEEDS_DIR
# Stream seeds are the packed stream alone behind three bytes of unpacked size
# and the member's two CRC bytes.
set -eu  # no pipefail: the generators are cut short by head on purpose
lh5pack=${1:?lh5pack path}
archives=${2:?archive seeds dir}
streams=${3:?stream seeds dir}
mkdir -p "$archives" "$streams"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seq 1 2500 | sed 's/$/ frame register music wave/' | head -c 30000 > "$work/text.txt"
yes "Vitrelume 15th Anniversary" | head -c 20000 > "$work/repeat.txt"
head -c 6000 /bin/bash > "$work/binary.bin"
printf 'A' > "$work/one.bin"
# Sixteen slowly changing register columns, like a register dump.
awk 'BEGIN { for (r = 0; r < 16; r++) for (f = 0; f < 1500; f++) printf "%c", 65 + (r * 7 + int(f / 12)) % 40 }' > "$work/regs.bin"
head -c 9000 /dev/zero > "$work/zeros.bin"

for input in "$work"/*.txt "$work"/*.bin; do
  name=$(basename "$input")
  "$lh5pack" "$input" "$archives/ours-$name.lzh"
  if command -v jlha > /dev/null; then
    (cd "$work" && jlha c0o5 "jlha-$name.lzh" "$name" > /dev/null 2>&1) || true
    # jlha stores what it cannot shrink as -lh0-; only -lh5- members are seeds.
    if [ -f "$work/jlha-$name.lzh" ] && [ "$(head -c 7 "$work/jlha-$name.lzh" | tail -c 5)" = "-lh5-" ]; then
      cp "$work/jlha-$name.lzh" "$archives/"
    fi
  fi
done

for archive in "$archives"/*.lzh; do
  header=$(( 24 + $(od -An -tu1 -j21 -N1 "$archive") ))
  total=$(stat -c %s "$archive")
  unpacked=$(( $(od -An -tu4 -j11 -N4 "$archive") & 0x3ffff ))
  out="$streams/$(basename "$archive" .lzh).bin"
  printf "$(printf '\\x%02x\\x%02x\\x%02x' $((unpacked & 255)) $(((unpacked >> 8) & 255)) $((unpacked >> 16)))" > "$out"
  tail -c +$((header - 1)) "$archive" | head -c 2 >> "$out"
  tail -c +$((header + 1)) "$archive" | head -c $((total - header - 1)) >> "$out"
done
