#!/bin/sh
# Checks a 1920x1080 screenshot of the title at full brightness: every
# picture pixel shows as a 5 x 5 block at (160, 40) (a whole-number scale
# with black margins), within 2 levels per channel, and every margin pixel is
# black. The Linux and the Windows (Wine) screen tests share it.
# usage: check_title_picture.sh SHOT_PNG TITLE_PNG
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert "$1" -alpha off -depth 8 "ppm:$work/shot.ppm" || { echo "cannot convert the screenshot"; exit 1; }
convert "$2" -alpha off -depth 8 "ppm:$work/title.ppm" || { echo "cannot convert the title picture"; exit 1; }
PYTHONPATH=$(dirname "$0") python3 - "$work/shot.ppm" "$work/title.ppm" <<'PY'
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
