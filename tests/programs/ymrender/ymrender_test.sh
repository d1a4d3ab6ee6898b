#!/usr/bin/env bash
# ymrender from the outside: exit codes, what it prints, WAV and raw output.
#   ymrender_test.sh YMRENDER MAKE_TEST_SONGS
set -uo pipefail
ymrender=${1:?ymrender path}
make_songs=${2:?make_test_songs path}
source "$(dirname "$0")/../../shell_checks.sh"
enter_private_mounts "$@"
work=$(mktemp -d)
trap 'umount "$work/disk" 2>/dev/null; rm -rf "$work"' EXIT

"$make_songs" "$work" --seconds 2 || exit 1
for song in "$work"/*.ym; do
  check "$(basename "$song") is described" test "$(exit_code "$ymrender" "$song")" = 0
done
check "the tag is printed" grep -q '^Tag: *YMT2$' <("$ymrender" "$work/ymt2.ym")
check "the title is printed" grep -q '^Title: *YM6! effects$' <("$ymrender" "$work/ym6-effects.ym")

head -c 100 "$work/ym5.ym" >"$work/cut.ym"
check "a cut file exits with 1" test "$(exit_code "$ymrender" "$work/cut.ym")" = 1
check "a cut file gives the loader's text" grep -q '^Truncated YM file !$' <("$ymrender" "$work/cut.ym" 2>&1)
check "a missing file exits with 1" test "$(exit_code "$ymrender" "$work/none.ym")" = 1
check "no file exits with 2" test "$(exit_code "$ymrender")" = 2
check "a bad length exits with 2" test "$(exit_code "$ymrender" "$work/ym5.ym" -o "$work/x.wav" --seconds -1)" = 2
for bad in "--seconds 0" "--seconds nan" "--seconds 86401" "--request 0" "--request 2.5" "--request 1048577"; do
  # shellcheck disable=SC2086
  check "'$bad' exits with 2" test "$(exit_code "$ymrender" "$work/ym5.ym" --raw $bad)" = 2
done
check "the largest request is taken" test "$(exit_code "$ymrender" "$work/ym5.ym" --raw --request 1048576)" = 0
for bad in "--fade-out 0" "--fade-out -1" "--fade-out x" "--fade-out 2 --seconds 1" "--fade-out"; do
  # shellcheck disable=SC2086
  check "'$bad' exits with 2" test "$(exit_code "$ymrender" "$work/ym5.ym" --raw $bad)" = 2
done
check "--fade-out without an output exits with 2" test "$(exit_code "$ymrender" "$work/ym5.ym" --fade-out 1)" = 2

# An endless input is refused while being read (memory capped at 1 GiB so
# that a reader that tries to hold it all fails fast instead of exhausting it).
endless() { (cap_memory 1048576 && "$ymrender" /dev/zero) 2>&1; echo "exit $?"; }
check "endless input is refused" grep -qz 'ymrender: /dev/zero is larger than 64 MiB: refused.exit 1' <(endless)

# Song texts print with control characters escaped: no escape sequence
# reaches the terminal and no line break forges a field.
{
  printf 'YM5!VaRnOlI!\000\000\000\001\000\000\000\000\000\000\000\036\204\200\000\062'
  printf '\000\000\000\000\000\000'
  printf '\033]0;owned\007\033[2J\000A\nTitle: forged\000\r\033[1AC:\\\000'
  head -c 16 /dev/zero
  printf 'End!'
} >"$work/hostile.ym"
"$ymrender" "$work/hostile.ym" >"$work/hostile.txt"
check "a song with control characters is described" test $? = 0
check "no control character is printed" test -z "$(tr -d '\n[:print:]' <"$work/hostile.txt")"
check "no field is forged" test "$(grep -c '^Title:' "$work/hostile.txt")" = 1
check "the title shows its escapes" grep -qxF 'Title:        \x1b]0;owned\x07\x1b[2J' "$work/hostile.txt"
check "the author shows its line break" grep -qxF 'Author:       A\x0aTitle: forged' "$work/hostile.txt"
check "a backslash is doubled" grep -qxF 'Comment:      \x0d\x1b[1AC:\\' "$work/hostile.txt"

# One pass by default; --seconds S renders S x 44,100 frames; raw is the WAV body.
check "wav renders" "$ymrender" "$work/ym3.ym" -o "$work/pass.wav"
check "one pass is 2 s" test "$(stat -c %s "$work/pass.wav")" = $((44 + 2 * 44100 * 4))
check_wav_header "ymrender's WAV" "$work/pass.wav"
check "wav with seconds renders" "$ymrender" "$work/ym6-effects.ym" -o "$work/s.wav" --seconds 1.5
check "1.5 s of frames" test "$(stat -c %s "$work/s.wav")" = $((44 + 66150 * 4))
"$ymrender" "$work/ym6-effects.ym" --raw --seconds 1.5 >"$work/s.raw"
tail -c +45 "$work/s.wav" >"$work/s.body"
check "raw equals the WAV body" cmp -s "$work/s.raw" "$work/s.body"
check "the song is not silent" test -n "$(tr -d '\000' <"$work/s.raw" | head -c 1)"
"$ymrender" "$work/ym6-effects.ym" --raw --seconds 1.5 --request 1000 >"$work/r.raw"
check "another request size gives as many frames" test "$(stat -c %s "$work/r.raw")" = $((66150 * 4))

# --fade-out S: one pass as without it, then S seconds of the loop falling
# linearly to silence (against the loop rendered on unfaded).
"$ymrender" "$work/ym6-effects.ym" --raw >"$work/pass.raw"
check "a faded render" "$ymrender" "$work/ym6-effects.ym" -o "$work/faded.wav" --fade-out 0.5
check "is one pass and 0.5 s long" test "$(stat -c %s "$work/faded.wav")" = $((44 + (2 * 44100 + 22050) * 4))
check "its first pass is the plain one" cmp -s -n $((2 * 44100 * 4)) "$work/pass.raw" "$work/faded.wav" 0 44
"$ymrender" "$work/ym6-effects.ym" --raw --seconds 2.5 >"$work/plain.raw"
python3 - "$work/faded.wav" "$work/plain.raw" <<'PY' || check "the fade falls linearly to silence" false
import array, sys
faded, plain = array.array("h"), array.array("h")
faded.frombytes(open(sys.argv[1], "rb").read()[44:])
plain.frombytes(open(sys.argv[2], "rb").read())
start, frames = 2 * 44100 * 2, 22050
assert any(plain[start:]), "the loop is silent: nothing to fade"
for i in range(frames * 2):
    want = plain[start + i] * (frames - 1 - i // 2) / frames
    assert abs(faded[start + i] - want) <= 1, (i, faded[start + i], want)
assert faded[-2:].tolist() == [0, 0]
PY

# The digi-mix song's length counts a block with repeat count 0 as played
# once, as the player plays it: 2205 / 22050 + 4000 / 16000 + 1000 / 44100 s.
python3 - "$work/zero-repeat.ym" <<'PY'
import struct, sys
blocks = [(0, 2205, 0, 22050), (2205, 4000, 1, 16000), (0, 1000, 0, 44100)]
song = b"MIX1VaRnOlI!" + struct.pack(">III", 0, 6205, len(blocks))
song += b"".join(struct.pack(">IIHH", *b) for b in blocks) + b"T\0A\0C\0" + b"\x80" * 6205
open(sys.argv[1], "wb").write(song)
PY
check "a repeat count of 0 plays once in the length" grep -qx 'Length: *0:00.37' <("$ymrender" "$work/zero-repeat.ym")

# A full disk: the WAV is written completely or not at all, and a file that
# was there keeps its bytes.
if small_disk "$work/disk" 64; then
  check "a full disk exits with 1" test "$(exit_code "$ymrender" "$work/ym5.ym" -o "$work/disk/full.wav")" = 1
  check "and says why" grep -q "cannot write $work/disk/full.wav: No space left on device" \
    <("$ymrender" "$work/ym5.ym" -o "$work/disk/full.wav" 2>&1)
  check "and leaves no file" test -z "$(ls -A "$work/disk")"
  "$ymrender" "$work/ym5.ym" -o "$work/disk/old.wav" --seconds 0.1
  cp "$work/disk/old.wav" "$work/old.wav"
  "$ymrender" "$work/ym5.ym" -o "$work/disk/old.wav" 2>/dev/null
  check "a file written over on a full disk keeps its bytes" cmp -s "$work/old.wav" "$work/disk/old.wav"
  check "and nothing else is left" test "$(ls -A "$work/disk")" = old.wav
else
  echo "no mount namespace here: the full-disk checks are skipped" >&2
fi

exit $((failures > 0))
