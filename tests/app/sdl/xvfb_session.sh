# Shared by the scripts that run the real program on a 1920x1080 virtual
# display. Source it first thing, with the script's arguments:
#   . "$(dirname "$0")/xvfb_session.sh" "$@"; shift
# It re-runs the calling script under xvfb-run (exit 77, a skip, without
# Xvfb), then gives it a scratch folder $work, fail and wait_for_start_line.
SKIP=77
if [ "${1:-}" != "--inner" ]; then
    if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1; then
        echo "SKIP: Xvfb is not installed"
        exit $SKIP
    fi
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --inner "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pid=

# Prints the program's output ($work/out), stops it if it still runs, fails.
fail() {
    echo "FAIL: $*"
    echo "--- program output:"
    cat "$work/out" 2>/dev/null
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
    exit 1
}

# Start-up takes well under a second; allow a slow machine five.
wait_for_start_line() {
    i=0
    until grep -q "^Application started [0-9][0-9]:[0-9][0-9]:[0-9][0-9] [0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\.$" "$work/out" 2>/dev/null; do
        i=$((i + 1))
        [ $i -gt 50 ] && fail "no start line"
        kill -0 "$pid" 2>/dev/null || fail "the program ended during start-up"
        sleep 0.1
    done
}

# Waits up to five seconds for the program to end (else fails with $1) and
# leaves its exit code in $code.
wait_for_exit() {
    i=0
    while kill -0 "$pid" 2>/dev/null; do
        i=$((i + 1))
        [ $i -gt 50 ] && fail "$1"
        sleep 0.1
    done
    wait "$pid"
    code=$?
    pid=
}
