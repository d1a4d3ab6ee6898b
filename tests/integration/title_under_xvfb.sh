#!/bin/sh
# Runs the real program on a 1920x1080 virtual display: the start line must
# appear, the title must sit scaled by 5 at (160, 40) with black margins at
# full brightness, and Escape must end the program with exit code 0.
# usage: title_under_xvfb.sh PROGRAM TITLE_PNG
set -u
SKIP=77

if [ "${1:-}" != "--inner" ]; then
    if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1; then
        echo "SKIP: Xvfb is not installed"
        exit $SKIP
    fi
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --inner "$@"
fi
shift
program=$1
title=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*"
    echo "--- program output:"
    cat "$work/out" 2>/dev/null
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
    exit 1
}

SDL_AUDIODRIVER=dummy "$program" >"$work/out" 2>"$work/err" &
pid=$!

# Start-up takes well under a second; allow a slow machine five.
i=0
until grep -q "^Application started [0-9][0-9]:[0-9][0-9]:[0-9][0-9] [0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\.$" "$work/out"; do
    i=$((i + 1))
    [ $i -gt 50 ] && fail "no start line"
    kill -0 "$pid" 2>/dev/null || fail "the program ended during start-up"
    sleep 0.1
done

# The fade in ends after frame 60 (1 s); the hold lasts until frame 360 (6 s).
sleep 2.5
import -window root "$work/shot.png" || fail "no screenshot"
kill -0 "$pid" 2>/dev/null || fail "the program ended before Escape"

xdotool key Escape
i=0
while kill -0 "$pid" 2>/dev/null; do
    i=$((i + 1))
    [ $i -gt 50 ] && fail "Escape did not end the program"
    sleep 0.1
done
wait "$pid"
code=$?
pid=
[ $code -eq 0 ] || fail "exit code $code"

# Nothing but the start line and the absent tablet's line is expected.
unexpected=$(grep -v -e "^Application started " -e "^WinTab initialization failed - tablet not available$" "$work/out")
[ -z "$unexpected" ] || fail "unexpected output: $unexpected"

convert "$work/shot.png" -alpha off -depth 8 "ppm:$work/shot.ppm" || fail "cannot convert the screenshot"
convert "$title" -alpha off -depth 8 "ppm:$work/title.ppm" || fail "cannot convert the title picture"
python3 - "$work/shot.ppm" "$work/title.ppm" <<'PY' || fail "the picture on screen is wrong"
import sys

def read_ppm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P6" and fields[3] == b"255", fields
    return int(fields[1]), int(fields[2]), data[pos + 1:]

sw, sh, shot = read_ppm(sys.argv[1])
tw, th, title = read_ppm(sys.argv[2])
assert (sw, sh) == (1920, 1080), (sw, sh)
assert (tw, th) == (320, 200), (tw, th)
X0, Y0, S = 160, 40, 5

def at(buf, width, x, y):
    i = (y * width + x) * 3
    return buf[i], buf[i + 1], buf[i + 2]

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
