#!/usr/bin/env bash
# The capture's speed in frame steps per second: the title alone (420 steps)
# and the whole production, writing raw pictures to /dev/null and the WAV to a
# file; then the title as video, which ffmpeg's encoder bounds.
#   bench/programs/capture/capture_speed.sh [BUILD_DIR]      (default: build)
set -eu
build=${1:-build}
capture="$build/programs/capture/vitrelume-capture"
[ -x "$capture" ] || { echo "build it first (cmake --build $build --target vitrelume-capture)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

steps() {  # the frame steps that a capture with these options runs
  "$capture" "$@" 2>&1 >/dev/null | sed -n 's/^vitrelume-capture: \([0-9]*\) frame steps.*/\1/p'
}
measure() {  # measure NAME RUNS OPTIONS...
  local name=$1 runs=$2
  shift 2
  local count
  count=$(steps "$@")
  hyperfine -N --warmup 1 --runs "$runs" --export-json "$work/$name.json" -n "$name" "$capture $*" >/dev/null
  python3 - "$work/$name.json" "$name" "$count" <<'PY'
import json, sys
result = json.load(open(sys.argv[1]))["results"][0]
steps = int(sys.argv[3])
print(f"{sys.argv[2]:>12}: {steps} steps in {result['mean']:.3f} s (+- {result['stddev']:.3f}), "
      f"{steps / result['mean']:.0f} steps/s, {steps / 60 / result['mean']:.1f} x real time")
PY
}

measure title 20 --frames 420 --rawvideo /dev/null --wav "$work/title.wav"
measure production 3 --rawvideo /dev/null --wav "$work/production.wav"
if command -v ffmpeg >/dev/null; then
  measure title-video 2 --frames 420 --video "$work/title.mp4"
fi
