# Shell functions that run a Windows program under Wine on a virtual display,
# for the tests. Source this file, then:
#   wine_session_start             Xvfb (1920x1080) and a Wine prefix
#   wine_session_begin             for a test script: skip it (exit 77) without
#                                  the tools, else start a session that ends with it
#   wine_null_audio                give Wine a sound device that plays nothing
#                                  (without it, this machine has none)
#   wine_start EXE [ARG...]        run it in the background; stdout and stderr
#                                  go to $wine_out and $wine_err
#   wine_log                       its stdout so far, without the CRs
#   wine_wait_line REGEX SECONDS   wait for a line on its stdout
#   wine_wait_window NAME SECONDS  wait until a window of that name is on screen
#   wine_screenshot FILE.png       the whole virtual screen
#   wine_key KEY...                key presses through the X server (xdotool names)
#   wine_dismiss_box TITLE SECONDS press Return in the message box of that title
#   wine_wait_exit SECONDS         its exit code in $wine_code (124: killed after the time)
#   wine_session_end               stop every Wine process and Xvfb, remove temp files
#
# The prefix: $VITRELUME_WINEPREFIX when it holds a prefix made by
# wine_prefix.sh (shared by the tests of one run), else a new one in the
# session's temp folder (about ten seconds to make). Wine's own messages are
# off (WINEDEBUG=-all); the program's stderr is kept apart from its log lines.

wine_session_available() {
    command -v wine >/dev/null 2>&1 && command -v Xvfb >/dev/null 2>&1 &&
        command -v xdotool >/dev/null 2>&1 && command -v import >/dev/null 2>&1
}

# Makes a prefix in DIR. Mono and Gecko are not installed and not asked for.
wine_prefix_create() {
    mkdir -p "$1" &&
        WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1 &&
        WINEPREFIX=$1 wineserver -w
}

wine_session_begin() {
    if ! wine_session_available; then
        echo "SKIP: wine, Xvfb, xdotool or ImageMagick is not installed"
        exit 77
    fi
    trap wine_session_end EXIT
    wine_session_start || exit 1
}

wine_session_start() {
    wine_work=$(mktemp -d "${TMPDIR:-/tmp}/vitrelume-wine.XXXXXX") || return 1
    wine_out=$wine_work/stdout
    wine_err=$wine_work/stderr
    wine_pid=
    wine_code=
    # Xvfb picks a free display itself and writes its number to fd 9.
    Xvfb -displayfd 9 -screen 0 "${VITRELUME_SCREEN:-1920x1080x24}" -nolisten tcp \
        9>"$wine_work/display" 2>"$wine_work/xvfb.log" &
    wine_xvfb_pid=$!
    local i=0
    until [ -s "$wine_work/display" ]; do
        i=$((i + 1))
        if [ $i -gt 100 ] || ! kill -0 "$wine_xvfb_pid" 2>/dev/null; then
            echo "wine_session: Xvfb did not start" >&2
            cat "$wine_work/xvfb.log" >&2
            return 1
        fi
        sleep 0.1
    done
    export DISPLAY=:$(head -n 1 "$wine_work/display")
    export WINEDEBUG=-all
    if [ -n "${VITRELUME_WINEPREFIX:-}" ] && [ -f "$VITRELUME_WINEPREFIX/system.reg" ]; then
        export WINEPREFIX=$VITRELUME_WINEPREFIX
    else
        export WINEPREFIX=$wine_work/prefix
        wine_prefix_create "$WINEPREFIX" || { echo "wine_session: wineboot failed" >&2; return 1; }
    fi
}

# An ALSA default device that discards what it gets, in a home of the
# session's own. Wine's DirectSound then works: the play position advances
# (faster than real time) and the notifications fire.
wine_null_audio() {
    mkdir -p "$wine_work/home" &&
        printf 'pcm.!default {\n    type null\n}\n' >"$wine_work/home/.asoundrc" &&
        export HOME="$wine_work/home"
}

wine_start() {
    wine "$@" >"$wine_out" 2>"$wine_err" &
    wine_pid=$!
}

# The C runtime writes text-mode lines, ending in CR LF.
wine_log() {
    tr -d '\r' <"$wine_out"
}

wine_wait_line() {
    local pattern=$1 limit=$(($2 * 10)) i=0
    until wine_log 2>/dev/null | grep -q -e "$pattern"; do
        i=$((i + 1))
        [ $i -gt $limit ] && return 1
        kill -0 "$wine_pid" 2>/dev/null || { wine_log | grep -q -e "$pattern"; return; }
        sleep 0.1
    done
}

wine_wait_window() {
    local name=$1 limit=$(($2 * 10)) i=0
    until xdotool search --onlyvisible --name "^$name\$" >/dev/null 2>&1; do
        i=$((i + 1))
        [ $i -gt $limit ] && return 1
        sleep 0.1
    done
}

wine_screenshot() {
    import -window root "$1"
}

wine_key() {
    xdotool key --delay 100 "$@"
}

# Synthetic key events sent to the box's own window reach it although no
# window manager gives it the focus.
wine_dismiss_box() {
    local title=$1 limit=$(($2 * 10)) i=0 window=
    until window=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1) && [ -n "$window" ]; do
        i=$((i + 1))
        [ $i -gt $limit ] && return 1
        sleep 0.1
    done
    sleep 0.3  # let the box take its first paint before the key
    xdotool key --window "$window" Return 2>/dev/null
}

wine_wait_exit() {
    local limit=$(($1 * 10)) i=0
    while kill -0 "$wine_pid" 2>/dev/null; do
        i=$((i + 1))
        if [ $i -gt $limit ]; then
            wineserver -k 2>/dev/null
            wait "$wine_pid" 2>/dev/null
            wine_pid=
            wine_code=124
            return 1
        fi
        sleep 0.1
    done
    wait "$wine_pid"
    wine_code=$?
    wine_pid=
}

# Safe to call more than once and after a failed start.
wine_session_end() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null
        wineserver -w 2>/dev/null
    fi
    [ -n "${wine_pid:-}" ] && wait "$wine_pid" 2>/dev/null
    if [ -n "${wine_xvfb_pid:-}" ]; then
        kill "$wine_xvfb_pid" 2>/dev/null
        wait "$wine_xvfb_pid" 2>/dev/null
    fi
    [ -n "${wine_work:-}" ] && rm -rf "$wine_work"
    wine_pid= wine_xvfb_pid= wine_work=
}
