#!/usr/bin/env bash
# vitrelume-capture --video: an mp4 that browsers play, with nothing left beside it.
#   capture_video_test.sh VITRELUME_CAPTURE      (exits 77, skipped, without ffmpeg)
set -uo pipefail
capture=${1:?vitrelume-capture path}
command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null || { echo "ffmpeg is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../shell_checks.sh"
streams() {
  ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,pix_fmt,sample_rate,channels \
    -of csv=p=0 "$1"
}

check "30 steps as video" "$capture" --frames 30 --video "$work/v.mp4"
check "H.264 at scale 4 and AAC" test "$(streams "$work/v.mp4")" = \
  "$(printf 'h264,video,1280,800,yuv420p\naac,audio,44100,2')"
check "half a second" grep -q '^0\.5' <(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/v.mp4")
check "no temporary file is left" test "$(ls -A "$work")" = v.mp4
check "a second run" "$capture" --frames 30 --video "$work/again.mp4"
check "gives the same bytes" cmp -s "$work/v.mp4" "$work/again.mp4"
check "--scale 1 as video" "$capture" --frames 2 --scale 1 --video "$work/small.mp4"
check "320 x 200" grep -q '^h264,video,320,200,' <(streams "$work/small.mp4")

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
