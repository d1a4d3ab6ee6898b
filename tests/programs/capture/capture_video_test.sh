#!/usr/bin/env bash
# vitrelume-capture --video: an mp4 that browsers play, with nothing left beside it.
#   capture_video_test.sh VITRELUME_CAPTURE      (exits 77, skipped, without ffmpeg)
set -uo pipefail
capture=${1:?vitrelume-capture path}
command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null || { echo "ffmpeg is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../../shell_checks.sh"
colours() {
  ffprobe -v error -select_streams v -show_entries stream=color_range,color_space,color_transfer,color_primaries \
    -of csv=p=0 "$1"
}
streams() {
  ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,pix_fmt,sample_rate,channels \
    -of csv=p=0 "$1"
}

check "30 steps as video" "$capture" --frames 30 --video "$work/v.mp4"
check "H.264 at scale 4 and AAC" test "$(streams "$work/v.mp4")" = \
  "$(printf 'h264,video,1280,800,yuv420p\naac,audio,44100,2')"
# Converted with the BT.601 matrix as the first videos were, and now saying so.
check "tagged as converted" test "$(colours "$work/v.mp4")" = "tv,smpte170m,bt709,bt709"
check "half a second" grep -q '^0\.5' <(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/v.mp4")
check "no temporary file is left" test "$(ls -A "$work")" = v.mp4
check "a second run" "$capture" --frames 30 --video "$work/again.mp4"
check "gives the same bytes" cmp -s "$work/v.mp4" "$work/again.mp4"
check "--scale 1 as video" "$capture" --frames 2 --scale 1 --video "$work/small.mp4"
check "320 x 200" grep -q '^h264,video,320,200,' <(streams "$work/small.mp4")

# For video sites: 3840 x 2160, the picture scaled by 10 (3200 x 2000) centred
# on black, BT.709 throughout and the index in front of the media data.
check "120 steps in 2160p" "$capture" --frames 120 --size 3840x2160 --video "$work/uhd.mp4" --png "$work/uhd" --shot 100
check "3840 x 2160" grep -q '^h264,video,3840,2160,yuv420p$' <(streams "$work/uhd.mp4")
check "tagged BT.709, limited range" test "$(colours "$work/uhd.mp4")" = "tv,bt709,bt709,bt709"
python3 - "$work/uhd.mp4" <<'PY' || check "the index first, the colours in the mp4's colr box too" false
import struct, sys
data = open(sys.argv[1], "rb").read()
boxes, at = [], 0
while at < len(data):
    size, kind = struct.unpack(">I4s", data[at:at + 8])
    boxes.append(kind)
    at += size
assert boxes.index(b"moov") < boxes.index(b"mdat"), boxes
colr = data.index(b"colrnclx")
assert struct.unpack(">HHHB", data[colr + 8:colr + 15]) == (1, 1, 1, 0), "colr is not BT.709 limited range"
PY
# Frame step 100 decoded as the tags say (nearest colour samples, exact
# rounding) against the capture's own picture of that step.
ffmpeg -v error -i "$work/uhd.mp4" -vf 'select=eq(n\,99),scale=flags=neighbor+accurate_rnd+full_chroma_int,format=rgb24' \
  -frames:v 1 -f rawvideo "$work/decoded.rgb"
convert "$work/uhd/000100.png" -depth 8 "rgb:$work/shot.rgb"
raw=(-f rawvideo -pix_fmt rgb24 -s 3840x2160)
psnr=$(ffmpeg -hide_banner -nostats "${raw[@]}" -i "$work/decoded.rgb" "${raw[@]}" -i "$work/shot.rgb" -lavfi psnr -f null - 2>&1 |
       sed -n 's/.*PSNR.* average:\([0-9.inf]*\).*/\1/p')
echo "2160p frame step 100: PSNR $psnr dB"
check "PSNR of at least 40 dB" python3 -c "import sys; sys.exit(not float('$psnr') >= 40)"
python3 - "$work/decoded.rgb" "$work/shot.rgb" <<'PY' || check "no channel off on average, black bars" false
import sys
decoded, shot = (open(path, "rb").read() for path in sys.argv[1:3])
pixels = 3840 * 2160
offsets = [(sum(decoded[c::3]) - sum(shot[c::3])) / pixels for c in range(3)]
print("mean offsets (R, G, B):", ", ".join("%.3f" % o for o in offsets))
# A matrix other than the tagged one moves some channel by several levels.
assert all(abs(o) < 1 for o in offsets), offsets
# Black, but for the coding's faint ringing within 16 pixels of the picture.
row = 3840 * 3
far = [decoded[:64 * row], decoded[2096 * row:]]
near = [decoded[64 * row:80 * row], decoded[2080 * row:2096 * row]]
for y in range(80, 2080):
    line = decoded[y * row:(y + 1) * row]
    far += [line[:304 * 3], line[3536 * 3:]]
    near += [line[304 * 3:320 * 3], line[3520 * 3:3536 * 3]]
assert max(max(bar) for bar in far) == 0, "the bars are not black"
assert max(max(bar) for bar in near) <= 8, "the picture's edge rings into the bars"
assert max(shot[:80 * row]) == 0 and max(shot[80 * row:2080 * row]) > 0, "the capture's own picture is not framed"
PY

# Interrupted while encoding: the encoder is stopped and nothing is left.
mkdir "$work/stopped"
"$capture" --video "$work/stopped/v.mp4" 2>/dev/null &
pid=$!
sleep 2
kill -INT $pid
wait $pid
check "an interrupt ends it by the signal" test $? = 130
check "and leaves no file behind" test -z "$(ls -A "$work/stopped")"
exit $((failures > 0))
