#!/usr/bin/env bash
# The FLAC soundtrack: 44,100 Hz 16-bit stereo with its tags; decoded, one
# pass of the song equal to ymrender's sample for sample, then ten seconds of
# the loop falling linearly to silence (against ymrender's unfaded render).
#   soundtrack_test.sh RELEASE_DIR YMRENDER SONG
set -uo pipefail
release=${1:?release folder}
ymrender=${2:?ymrender path}
song=${3:?song}
flac=$release/vitrelume-15th-anniversary-soundtrack.flac
source "$(dirname "$0")/../shell_checks.sh"
command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null || { echo "SKIP: ffmpeg is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

probe() { ffprobe -v error -show_entries "$1" -of default=noprint_wrappers=1 "$flac"; }
check "FLAC, 44,100 Hz, 16-bit stereo" test "$(probe stream=codec_name,sample_rate,channels,bits_per_raw_sample | tr '\n' ' ')" = \
  "codec_name=flac sample_rate=44100 channels=2 bits_per_raw_sample=16 "
for tag in title artist album date comment; do
  check "tagged with its $tag" grep -qi "^TAG:$tag=." <(probe format_tags)
done
check "the artist is the song's author" grep -qix "TAG:ARTIST=$("$ymrender" "$song" | sed -n 's/^Author: *//p')" <(probe format_tags)

ffmpeg -v error -i "$flac" -f s16le -c:a pcm_s16le "$work/flac.raw" || exit 1
"$ymrender" "$song" --raw >"$work/pass.raw" || exit 1
pass=$(($(stat -c %s "$work/pass.raw") / 4))
fade=441000
check "one pass and ten seconds long" test "$(stat -c %s "$work/flac.raw")" = $(((pass + fade) * 4))
check "the first pass is ymrender's" cmp -s -n $((pass * 4)) "$work/flac.raw" "$work/pass.raw"
# The fade against the song going on unfaded (whole requests of 2,205 frames, as before).
"$ymrender" "$song" --raw --seconds "$(python3 -c "print(($pass + $fade) / 44100)")" >"$work/plain.raw" || exit 1
python3 - "$work/flac.raw" "$work/plain.raw" "$pass" "$fade" <<'PY' || check "the fade falls linearly to silence" false
import array, sys
faded, plain = array.array("h"), array.array("h")
faded.frombytes(open(sys.argv[1], "rb").read())
plain.frombytes(open(sys.argv[2], "rb").read())
start, frames = int(sys.argv[3]) * 2, int(sys.argv[4])
assert len(faded) == len(plain), (len(faded), len(plain))
assert any(plain[start:]), "the loop is silent: nothing to fade"
worst = 0
for i in range(frames * 2):
    gain = (frames - 1 - i // 2) / frames
    worst = max(worst, abs(faded[start + i] - plain[start + i] * gain))
assert worst <= 1, f"{worst} levels off the linear fade"
assert faded[-2:].tolist() == [0, 0], "the last frame is not silent"
PY
exit $((failures > 0))
