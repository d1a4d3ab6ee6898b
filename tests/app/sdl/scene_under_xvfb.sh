#!/bin/sh
# Runs the real program on a 1920x1080 virtual display with SDL's disk audio
# driver: title, Space, main scene, Space, the end line and exit code 0. The
# main scene must be on screen (lit, unlike the title), and the recording
# must hold the song: the opening of the reference rendering of resource 217
# is searched for in it, and its first four seconds must follow sample for
# sample, fill by fill.
# usage: scene_under_xvfb.sh PROGRAM YMRENDER SONG TITLE_PNG [KEEP_SCREENSHOT_PNG]
set -u
. "$(dirname "$0")/xvfb_session.sh" "$@"
shift
program=$1
ymrender=$2
song=$3
title=$4
keep_shot=${5:-}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" "$program" >"$work/out" 2>"$work/err" &
pid=$!
wait_for_start_line

# Title: Space during the hold, then a one-second fade out.
sleep 2
xdotool key space
# Main scene: its fade in lasts a second; the first carousel logo comes after three.
sleep 6
import -window root "$work/shot.png" || fail "no screenshot"
[ -n "$keep_shot" ] && cp "$work/shot.png" "$keep_shot"
kill -0 "$pid" 2>/dev/null || fail "the program ended before the second Space"
xdotool key space
wait_for_exit "Space did not end the main scene"
[ $code -eq 0 ] || fail "exit code $code"
tail -n 1 "$work/out" | grep -q "^Application terminated [0-9:]* [0-9-]*\.$" || fail "no end line"

"$ymrender" "$song" --raw --request 2205 --seconds 8 >"$work/song.raw" || fail "ymrender failed"
convert "$work/shot.png" -alpha off -depth 8 "ppm:$work/shot.ppm" || fail "cannot convert the screenshot"
convert "$title" -alpha off -depth 8 "ppm:$work/title.ppm" || fail "cannot convert the title picture"

PYTHONPATH=$(dirname "$0") python3 - "$work/shot.ppm" "$work/title.ppm" "$work/audio.raw" "$work/song.raw" <<'PY' \
    || fail "see above"
import sys
from screen_picture import SCALE, X0, Y0, at, read_ppm

sw, sh, shot = read_ppm(sys.argv[1])
tw, th, title = read_ppm(sys.argv[2])
lit = unlike = samples = 0
for ty in range(0, th, 4):
    for tx in range(0, tw, 4):
        got = at(shot, sw, X0 + tx * SCALE + 2, Y0 + ty * SCALE + 2)
        samples += 1
        lit += max(got) > 16
        unlike += max(abs(a - b) for a, b in zip(got, at(title, tw, tx, ty))) > 24
ok = lit >= samples // 2 and unlike >= samples // 4
if not ok:
    print("the screen does not show the main scene: %d of %d lit, %d unlike the title" % (lit, samples, unlike))

# 16-bit stereo frames at 44,100 Hz. The stream fills 2,205 frames at a time;
# when the streaming thread is late on a busy machine, the device replays a
# stale half or whole buffer and the song goes on after it. So each fill of
# the first four seconds must be found whole, in order, after the one before;
# a stale stretch between two fills is allowed, a lost or altered fill is not
# (but for one, which a fill that came late may have been cut short).
SECOND, FILL = 176400, 2205 * 4
recorded = open(sys.argv[3], "rb").read()
reference = open(sys.argv[4], "rb").read()
if reference[:4] == b"\0\0\0\0":
    sys.exit("the reference rendering starts silent: its opening cannot be searched for")
fills = [reference[i:i + FILL] for i in range(0, 4 * SECOND, FILL)]
pos = recorded.find(fills[0])
while pos >= 0 and pos % 4:
    pos = recorded.find(fills[0], pos + 1)
if pos < 0:
    sys.exit("the song's opening is not in the recording (%d bytes recorded)" % len(recorded))
start, missing, stale = pos, 0, 0
for block in fills:
    found = recorded.find(block, pos)
    if found < 0 or found - pos > SECOND // 2:
        missing += 1
        pos += FILL
        continue
    stale += found > pos
    pos = found + FILL
print("song found at %.3f s of the recording; %d fills of %d matched, %d after a stale stretch"
      % (start / SECOND, len(fills) - missing, len(fills), stale))
if missing > 1 or stale > 3:
    print("the recording does not hold the song")
    ok = False
sys.exit(0 if ok else 1)
PY
echo "PASS"
