#!/bin/sh
# Whole-program cost of the main scene under Xvfb: CPU use over a minute of
# the scene with the music playing (SDL's dummy audio driver consumes the
# stream in real time) and the peak resident memory of the run.
# usage: bench/app/sdl/scene_cost.sh [PROGRAM] [SECONDS]   (default build/app/sdl/vitrelume, 60)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../../../build/app/sdl/vitrelume}
seconds=${2:-60}

if [ "${INNER:-}" != 1 ]; then
    INNER=1 exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$program" "$seconds"
fi

out=$(mktemp)
SDL_AUDIODRIVER=dummy "$program" >"$out" 2>&1 &
pid=$!
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }

sleep 2
xdotool key space  # the title fades out; the scene starts a second later
sleep 3
c0=$(cpu)
sleep "$seconds"
c1=$(cpu)
peak=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
threads=$(awk '/^Threads/ {print $2}' "/proc/$pid/status")
xdotool key Escape
wait "$pid" || true
rm -f "$out"

awk -v c0="$c0" -v c1="$c1" -v hz="$ticks" -v s="$seconds" -v peak="$peak" -v threads="$threads" 'BEGIN {
    printf "main scene, %d s: CPU %.1f%% of one core (%.2f ms per frame at 60 frames per second)\n",
           s, (c1 - c0) / hz / s * 100, (c1 - c0) / hz / (s * 60) * 1000
    printf "peak resident memory: %.1f MiB; threads: %d\n", peak / 1024, threads
}'
