#!/usr/bin/env bash
# The Windows program under Wine on a 1920x1080 virtual display, one case per
# call (each a CTest test sharing the run's prefix):
#   program_under_wine.sh title EXE TITLE_PNG  start line, the title scaled by 5 with
#                                              black margins, Escape ends with 0
#   program_under_wine.sh space EXE            Space, Space: the whole production, the
#                                              end line and 0, sound streaming throughout
#   program_under_wine.sh no_dsound EXE        without dsound.dll: its line, runs silent
#   program_under_wine.sh no_opengl EXE        without opengl32.dll: its line, 255
#   program_under_wine.sh no_display EXE       no X display: Wine still reports a display,
#                                              the window cannot be made: its line, 255
#   program_under_wine.sh no_gl_functions EXE STUB_DLL
#                                              an opengl32.dll without functions: the
#                                              fatal error's line and message box, 255
#   program_under_wine.sh close EXE            closing the window (Alt+F4) ends with 0
#   program_under_wine.sh sound EXE            the stream on Wine's DirectSound (sound_check)
#   program_under_wine.sh window EXE           screen modes and window messages (window_check)
# Wine has no sound card here unless wine_null_audio gives it one that plays
# nothing; no case has a tablet.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_session.sh"
case_name=$1
exe=$2
wine_session_begin

START_LINE='^Application started [0-9][0-9]:[0-9][0-9]:[0-9][0-9] [0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\.$'
END_LINE='^Application terminated [0-9][0-9]:[0-9][0-9]:[0-9][0-9] [0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\.$'
NO_TABLET='WinTab initialization failed - tablet not available'
NO_SOUND_CARD="Couldn't create DirectSound object. Sound disabled."
STREAM_FAILURES='^\(Couldn.t lock sound buffer\|Couldn.t unlock sound buffer\|Failed to create sound buffer\)$'

fail() {
    echo "FAIL ($case_name): $*"
    echo "--- log:"
    wine_log
    echo "--- stderr (Wine's own lines left out):"
    grep -v -e '^ALSA lib' "$wine_err" | head -n 20
    exit 1
}

# The log, line for line, against the expected lines given as regexes.
expect_log() {
    local count
    count=$(wine_log | wc -l)
    [ "$count" -eq $# ] || fail "$count log lines, expected $#"
    local n=0 pattern
    for pattern in "$@"; do
        n=$((n + 1))
        wine_log | sed -n "${n}p" | grep -q -e "$pattern" || fail "line $n does not match $pattern"
    done
}

start_and_wait() {
    wine_start "$exe"
    wine_wait_line "$START_LINE" 20 || fail "no start line"
}

# Its window on screen, after the start-up: it did not stop on a missing
# service, and keys now reach it.
expect_window() {
    wine_wait_window "Vitrelume 15th Anniversary" 20 || fail "no window on screen"
    sleep 0.5
    kill -0 "$wine_pid" 2>/dev/null || fail "the program ended on its own"
}

expect_exit() {
    wine_wait_exit "$1" || fail "still running after $1 s"
    [ "$wine_code" -eq "$2" ] || fail "exit code $wine_code, expected $2"
}

case $case_name in
title)
    start_and_wait
    expect_window
    # The fade in ends one second after the window shows; the hold lasts
    # until six. A busy machine may still be fading at first: look again.
    sleep 2
    tries=0
    until wine_screenshot "$wine_work/shot.png" &&
          "$here/../sdl/check_title_picture.sh" "$wine_work/shot.png" "$3" >"$wine_work/check"; do
        tries=$((tries + 1))
        [ $tries -lt 6 ] || { cat "$wine_work/check"; fail "the picture on screen is wrong"; }
        sleep 0.5
    done
    wine_key Escape
    expect_exit 10 0
    # Escape ends the process at once: no teardown, no end line.
    expect_log "$START_LINE" "^$NO_SOUND_CARD\$" "^$NO_TABLET\$"
    ;;
space)
    wine_null_audio
    start_and_wait
    expect_window
    wine_key space
    # The title fades out in one second; the main scene then plays its music.
    sleep 3
    wine_key space
    expect_exit 20 0
    expect_log "$START_LINE" "^$NO_TABLET\$" "$END_LINE"
    ;;
no_dsound)
    WINEDLLOVERRIDES="dsound=" start_and_wait
    expect_window
    wine_key Escape
    expect_exit 10 0
    expect_log "$START_LINE" "^Couldn't load dsound.dll. Sound disabled.\$" "^$NO_TABLET\$"
    ;;
no_opengl)
    WINEDLLOVERRIDES="opengl32=" wine_start "$exe"
    expect_exit 20 255
    expect_log "$START_LINE" "^Failed to load opengl32.dll\$" "$END_LINE"
    ;;
no_display)
    (unset DISPLAY; exec wine "$exe") >"$wine_out" 2>"$wine_err" &
    wine_pid=$!
    expect_exit 20 255
    expect_log "$START_LINE" "^Failed to create window\.\$" "$END_LINE"
    ;;
no_gl_functions)
    # A DLL next to the program comes first when native DLLs are allowed.
    mkdir "$wine_work/app" && cp "$exe" "$3" "$wine_work/app/" || fail "cannot copy the program"
    exe=$wine_work/app/$(basename "$exe")
    WINEDLLOVERRIDES="opengl32=n" wine_start "$exe"
    wine_dismiss_box "Fatal Error!" 20 || fail "no message box"
    expect_exit 10 255
    expect_log "$START_LINE" "^FATAL ERROR: Could not find function CreateShader\.\$"
    ;;
close)
    start_and_wait
    expect_window
    wine_key alt+F4
    expect_exit 10 0
    ;;
sound)
    wine_null_audio
    start_and_wait
    expect_exit 20 0
    wine_log | grep -q -e "$STREAM_FAILURES" && fail "the stream failed"
    expect_log "$START_LINE" "^$NO_TABLET\$" "^sound check: " "$END_LINE"
    wine_log | grep "^sound check: "
    ;;
window)
    start_and_wait
    expect_exit 20 0
    wine_log | grep "^window check: "
    ;;
*)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
echo "PASS ($case_name)"
