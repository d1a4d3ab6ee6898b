#!/bin/sh
# Runs the real program on a 1920x1080 virtual display: the start line must
# appear, the title must sit scaled by 5 at (160, 40) with black margins at
# full brightness, and Escape must end the program with exit code 0.
# usage: title_under_xvfb.sh PROGRAM TITLE_PNG
set -u
. "$(dirname "$0")/xvfb_session.sh" "$@"
shift
program=$1
title=$2

SDL_AUDIODRIVER=dummy "$program" >"$work/out" 2>"$work/err" &
pid=$!

wait_for_start_line

# The fade in ends after frame 60 (1 s); the hold lasts until frame 360 (6 s).
sleep 2.5
import -window root "$work/shot.png" || fail "no screenshot"
kill -0 "$pid" 2>/dev/null || fail "the program ended before Escape"

xdotool key Escape
wait_for_exit "Escape did not end the program"
[ $code -eq 0 ] || fail "exit code $code"

# Nothing but the start line and the absent tablet's line is expected.
unexpected=$(grep -v -e "^Application started " -e "^WinTab initialization failed - tablet not available$" "$work/out")
[ -z "$unexpected" ] || fail "unexpected output: $unexpected"

convert "$work/shot.png" -alpha off -depth 8 "ppm:$work/shot.ppm" || fail "cannot convert the screenshot"
convert "$title" -alpha off -depth 8 "ppm:$work/title.ppm" || fail "cannot convert the title picture"
PYTHONPATH=$(dirname "$0") python3 - "$work/shot.ppm" "$work/title.ppm" <<'PY' || fail "the picture on screen is wrong"
import sys
from screen_picture import SCALE as S, X0, Y0, at, read_ppm

sw, sh, shot = read_ppm(sys.argv[1])
tw, th, title = read_ppm(sys.argv[2])
assert (sw, sh) == (1920, 1080), (sw, sh)
assert (tw, th) == (320, 200), (tw, th)

bad = 0
for ty in range(th):
    for tx in range(tw):
        want = at(title, tw, tx, ty)
        # Every pixel of the 5 x 5 block shows the same picture pixel.
        for dy in (0, 2, 4):
            for dx in (0, 2, 4):
                got = at(shot, sw, X0 + tx * S + dx, Y0 + ty * S + dy)
                if max(abs(a - b) for a, b in zip(got, want)) > 2:
                    bad += 1
                    if bad <= 5:
                        print("pixel (%d, %d) block (%d, %d): %s, want %s" % (tx, ty, dx, dy, got, want))
margin = 0
for y in range(sh):
    inside_rows = Y0 <= y < Y0 + th * S
    xs = range(sw) if not inside_rows else list(range(X0)) + list(range(X0 + tw * S, sw))
    for x in xs:
        if at(shot, sw, x, y) != (0, 0, 0):
            margin += 1
if margin:
    print("%d margin pixels are not black" % margin)
sys.exit(1 if bad or margin else 0)
PY
echo "PASS"
