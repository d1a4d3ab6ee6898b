#!/bin/sh
# The Linux archive as a user gets it: unpacked into a fresh folder and
# started from another working folder with nothing in the environment but
# DISPLAY and HOME, on a 1920x1080 virtual display. It loads the SDL2 beside
# it (the loader's own account, LD_DEBUG=libs), shows the title pixel for
# pixel, and Escape ends it with 0.
# usage: linux_archive_test.sh RELEASE_DIR TITLE_PNG
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../app/sdl/xvfb_session.sh" "$@"
shift
release=$1
title=$2
folder=$work/unpacked/vitrelume-15th-anniversary-linux-x86_64

mkdir -p "$work/unpacked" "$work/home" "$work/elsewhere"
tar -xzf "$release/vitrelume-15th-anniversary-linux-x86_64.tar.gz" -C "$work/unpacked" || fail "cannot unpack"
members=$(cd "$folder" && find . -type f | sort | tr '\n' ' ')
[ "$members" = "./lib/libSDL2-2.0.so.0 ./screenshot.png ./vitrelume ./vitrelume.nfo " ] || fail "members: $members"
readelf -S "$folder/vitrelume" | grep -q -e '\.debug' -e '\.symtab' && fail "the program is not stripped"
# The X server's cookie where a desktop session keeps it.
[ -n "${XAUTHORITY:-}" ] && cp "$XAUTHORITY" "$work/home/.Xauthority"

cd "$work/elsewhere" || fail "no working folder"
env -i DISPLAY="$DISPLAY" HOME="$work/home" LD_DEBUG=libs "$folder/vitrelume" >"$work/out" 2>"$work/err" &
pid=$!
wait_for_start_line
grep -q "calling init: $folder/lib/libSDL2-2.0.so.0\$" "$work/err" || {
    grep -i sdl2 "$work/err" | head -n 5
    fail "the bundled SDL2 was not loaded"
}

sleep 1.5
tries=0
until import -window root "$work/shot.png" &&
      "$here/../app/sdl/check_title_picture.sh" "$work/shot.png" "$title" >"$work/check"; do
    tries=$((tries + 1))
    [ $tries -lt 8 ] || { cat "$work/check"; fail "the picture on screen is wrong"; }
    sleep 0.5
done
xdotool key Escape
wait_for_exit "Escape did not end the program"
[ $code -eq 0 ] || fail "exit code $code"
echo "PASS"
