#!/bin/sh
# Measures the shell's frame pacing under Xvfb: the length of 600 frame steps
# (10 s at 60 frames per second; Space presses keep the title running), the work of one frame step (swap exit to the
# next swap entry, minus the pacing sleep), the start-up time to the first
# presented frame and the CPU use while the title holds.
# usage: bench/app/sdl/frame_pace.sh [PROGRAM]   (default build/app/sdl/vitrelume)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../../../build/app/sdl/vitrelume}

if [ "${INNER:-}" != 1 ]; then
    work=$(mktemp -d)
    cc -O2 -shared -fPIC -o "$work/swap_timer.so" "$here/swap_timer.c" -ldl
    INNER=1 WORK=$work exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$program"
fi

log=$WORK/swaps.log
SDL_AUDIODRIVER=dummy SWAP_TIMER_LOG=$log LD_PRELOAD=$WORK/swap_timer.so "$program" >"$WORK/out" 2>&1 &
pid=$!
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
swaps() { grep -c '^swap' "$log" 2>/dev/null || echo 0; }

# CPU while the title holds: from 2 s to 5 s after start-up.
sleep 2
c0=$(cpu); f0=$(swaps)
sleep 3
c1=$(cpu); f1=$(swaps)

# 600 steps and a few more. The title ends after 420 steps unless Space
# restarts its fade out, so a press every half second keeps it going.
while kill -0 "$pid" 2>/dev/null && [ "$(swaps)" -lt 620 ]; do
    xdotool key space
    sleep 0.5
done
kill -0 "$pid" 2>/dev/null && xdotool key Escape
wait "$pid" || true

awk -v c0="$c0" -v c1="$c1" -v f0="$f0" -v f1="$f1" -v hz="$ticks" '
/^start/ { start = $2 }
/^swap/ {
    n++; entry[n] = $2; leave[n] = $3; slept[n] = $4
}
END {
    printf "start-up to first presented frame: %.0f ms\n", (leave[1] - start) * 1000
    last = n >= 611 ? 611 : n
    frames = last - 11
    span = entry[last] - entry[11]
    printf "%d frame steps (from step 11): %.3f s, %.2f%% off %d/60 s\n", frames, span, (span / (frames / 60.0) - 1) * 100, frames
    if (frames != 600) printf "  (the program ended after %d steps)\n", n
    for (i = 12; i <= last; i++) {
        work = entry[i] - leave[i - 1] - slept[i]
        total += work; if (work > worst) worst = work
        swap += leave[i] - entry[i]
    }
    printf "frame step work: mean %.2f ms, worst %.2f ms; swap: mean %.2f ms\n", total / frames * 1000, worst * 1000, swap / frames * 1000
    if (f1 > f0) printf "CPU while the title holds: %.0f%% of one core, %.2f ms per frame\n", (c1 - c0) / hz / 3 * 100, (c1 - c0) / hz / (f1 - f0) * 1000
}' "$log"
rm -rf "$WORK"
