#!/usr/bin/env bash
# vitrelume-capture from the outside: arguments, the pictures against the
# title picture, the sound track against ymrender, failures and clean-up.
#   capture_test.sh VITRELUME_CAPTURE YMRENDER SOURCE_DIR
set -uo pipefail
capture=${1:?vitrelume-capture path}
ymrender=${2:?ymrender path}
source_dir=${3:?source folder}
source "$(dirname "$0")/../../shell_checks.sh"
enter_private_mounts "$@"
work=$(mktemp -d)
trap 'umount "$work/disk" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
frame=192000  # 320 x 200 x 3
step_sound=2940  # 735 frames x 4 bytes

for bad in "--frames" "--frames 0 --wav a.wav" "--frames x --wav a.wav" "--scale 0 --wav a.wav" \
           "--scale 99 --wav a.wav" "" "--frames 5" "--shot 3 --wav a.wav" "--frames 5 --png p --shot 6" \
           "--wav -" "--wav a.wav --wav b.wav" "--frames 1000001 --wav a.wav" \
           "--size 319x200 --rawvideo a.raw" "--size 320x199 --png p" "--size 320 --png p" "--size x200 --png p" \
           "--size 640x400x1 --png p" "--size 640X400 --png p" "--size 640x+400 --png p" "--size 7681x4320 --png p" \
           "--size 640x400 --scale 2 --png p" "--size 640x400 --wav a.wav" "--size 641x400 --video a.mp4"; do
  # shellcheck disable=SC2086
  check "'$bad' exits with 2" test "$(exit_code "$capture" $bad)" = 2
done
# One file named for two outputs would mix two streams or lose one.
mkdir shots
ln -s s.bin link.bin
for same in "--wav s.bin --rawvideo s.bin" "--wav v.mp4 --video v.mp4" "--rawvideo s.bin --wav ./shots/../s.bin" \
            "--wav link.bin --rawvideo s.bin" "--png shots --shot 7 --wav shots/000007.png" \
            "--frames 9 --png shots --rawvideo shots/000009.png"; do
  # shellcheck disable=SC2086
  check "'$same' exits with 2" test "$(exit_code "$capture" --frames 30 $same)" = 2
done
check "naming the clash" grep -q 'vitrelume-capture: --rawvideo and --wav name the same file' \
  <("$capture" --frames 30 --rawvideo s.bin --wav s.bin 2>&1)
check "a picture --png does not write may be another output" \
  "$capture" --frames 3 --png shots --shot 2 --wav shots/000001.png
rm -r shots link.bin
check "nothing is written on bad arguments" test -z "$(ls)"

# The title at full brightness is the picture itself; the first step shows
# fade level 4 of it, each channel v as round(v x 4 / 255).
convert "$source_dir/resources/141-title.png" -depth 8 rgb:title.rgb
check "100 steps" "$capture" --frames 100 --rawvideo r.raw --wav w.wav --png shots --shot 1 --shot 100
check "100 frames of 320 x 200 RGB" test "$(stat -c %s r.raw)" = $((100 * frame))
check "step 100 shows the title" cmp -s <(tail -c $frame r.raw) title.rgb
python3 -c '
import sys
title = open("title.rgb", "rb").read()
first = open("r.raw", "rb").read(192000)
sys.exit(first != bytes(round(v * 4 / 255) for v in title))' || check "step 1 shows the title at level 4" false
check "only the chosen steps as PNG" test "$(ls shots)" = "$(printf '000001.png\n000100.png')"
check "a PNG shows its frame step" cmp -s <(convert shots/000100.png -depth 8 rgb:-) title.rgb
check "the WAV holds 735 frames per step" test "$(stat -c %s w.wav)" = $((44 + 100 * step_sound))
check_wav_header "the capture's WAV" w.wav
check "the title is silent" cmp -s <(tail -c +45 w.wav) <(head -c $((100 * step_sound)) /dev/zero)

check "scaled by 3" "$capture" --frames 100 --scale 3 --rawvideo s.raw
check "scaled frames are 9 times larger" test "$(stat -c %s s.raw)" = $((100 * 9 * frame))
check "scaling samples the nearest pixel" \
  cmp -s <(tail -c $((9 * frame)) s.raw) <(convert -size 320x200 -depth 8 rgb:title.rgb -sample 300% rgb:-)

# --size: the largest whole scale that fits (2: 640 x 400), centred on black.
check "sized 700 x 500" "$capture" --frames 100 --size 700x500 --rawvideo z.raw --png zshots --shot 100
check "sized frames are 700 x 500" test "$(stat -c %s z.raw)" = $((100 * 700 * 500 * 3))
check "the picture at scale 2 in the middle" cmp -s <(tail -c $((700 * 500 * 3)) z.raw) \
  <(convert -size 320x200 -depth 8 rgb:title.rgb -sample 200% -background black -gravity center -extent 700x500 rgb:-)
check "a sized PNG is the same picture" cmp -s <(convert zshots/000100.png -depth 8 rgb:-) <(tail -c $((700 * 500 * 3)) z.raw)
check "the smallest size is the picture itself" "$capture" --frames 100 --size 320x200 --rawvideo z1.raw
check "equal to no size at all" cmp -s z1.raw r.raw

# Standard output carries the pictures alone, and two runs agree to the byte.
"$capture" --frames 100 --rawvideo - --wav w2.wav >out.raw 2>/dev/null
check "standard output equals the file" cmp -s out.raw r.raw
check "two runs give the same sound" cmp -s w.wav w2.wav

# The whole production: the title's 420 steps without a key, the main scene
# until the song has played once through, Space in the next step and the
# 60-step fade out. The music is heard from frame 313,110 (step 427) on: the
# main scene starts the stream before step 421, and the stream's 4,410-frame
# buffer plays silent once. From there the song is ymrender's, sample for sample.
music_start=$((426 * 735))
"$ymrender" "$source_dir/resources/217-music.lh5" --raw --request 2205 >song.raw
song_bytes=$(stat -c %s song.raw)
check "the whole production" "$capture" --wav whole.wav
check "silent before the music" cmp -s -n $((music_start * 4)) whole.wav /dev/zero 44 0
check "then the song" cmp -s -n "$song_bytes" whole.wav song.raw $((44 + music_start * 4)) 0
after=$(($(stat -c %s whole.wav) - 44 - music_start * 4 - song_bytes))
check "then the rest of its last step, the Space step and the fade out" \
  test $after -ge $((61 * step_sound)) -a $after -lt $((62 * step_sound))
# Space in step 1: the title fades out in steps 2 to 61, the stream starts
# before step 62 and the music is heard from step 68 on.
check "Space at step 1" "$capture" --frames 300 --space-at 1 --wav early.wav
check "moves the music forward" cmp -s -n $(((300 - 67) * step_sound)) early.wav song.raw $((44 + 67 * step_sound)) 0
check "and nothing before it" cmp -s -n $((67 * step_sound)) early.wav /dev/zero 44 0

# Failures: a full disk, a closed pipe, a missing or failing encoder.
check "a full disk exits with 1" test "$(exit_code "$capture" --frames 10 --rawvideo /dev/full)" = 1
check "and says why" grep -q 'cannot write /dev/full: No space left on device' \
  <("$capture" --frames 10 --wav /dev/full 2>&1)
"$capture" --frames 300 --rawvideo - 2>pipe.err | head -c 1000 >/dev/null
check "a closed pipe exits with 1" test "${PIPESTATUS[0]}" = 1
check "and says why" grep -q 'cannot write standard output: Broken pipe' pipe.err

mkdir -p bin video
PATH=$work/bin "$capture" --frames 10 --video video/v.mp4 2>missing.err
check "a missing ffmpeg exits with 1" test $? = 1
check "naming the package" grep -q 'install the Debian package ffmpeg' missing.err
printf '#!/bin/sh\necho "encoder refuses" >&2\nexit 3\n' >bin/ffmpeg
chmod +x bin/ffmpeg
PATH=$work/bin:$PATH "$capture" --frames 50 --rawvideo video/r.raw --video video/v.mp4 2>failing.err
check "a failing ffmpeg exits with 1" test $? = 1
check "with its status" grep -q 'ffmpeg failed (exit status 3)' failing.err
check "and leaves no file behind" test -z "$(ls -A video)"

# Every file appears whole or not at all: on a full disk nothing is left but
# the PNG folder and the pictures that were complete.
if small_disk "$work/disk" 200; then
  for output in "--wav disk/s.wav" "--rawvideo disk/s.raw" "--png disk/shots"; do
    # shellcheck disable=SC2086
    check "$output on a full disk exits with 1" test "$(exit_code "$capture" --frames 600 $output)" = 1
  done
  check "and leaves no partial file" test "$(ls -A disk)" = shots
  for png in disk/shots/*.png; do
    check "$png is complete" test "$(tail -c 8 "$png" | head -c 4)" = IEND
  done
else
  echo "no mount namespace here: the full-disk checks are skipped" >&2
fi

# A signal at any moment of a PNG's life leaves no empty or partial picture
# (each is registered for removal before it exists). Many short runs with
# the signal at different moments hit every part of the write.
mkdir signalled
for run in $(seq 60); do
  "$capture" --frames 400 --png signalled 2>/dev/null &
  sleep "0.0$((run % 10))$((run * 7 % 10))"
  kill -s "$( ((run % 2)) && echo INT || echo TERM)" $!
  wait $! 2>/dev/null
done
check "signalled runs leave no temporary file" test -z "$(ls -A signalled | grep -v '^[0-9]\{6\}\.png$')"
incomplete=0
for png in signalled/*.png; do
  [ -e "$png" ] || continue
  [ "$(tail -c 8 "$png" | head -c 4)" = IEND ] || incomplete=$((incomplete + 1))
done
check "and every picture left is complete ($incomplete are not)" test "$incomplete" = 0

exit $((failures > 0))
