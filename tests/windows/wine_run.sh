#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual display and passes on its
# output and exit code (the cross build's test runner).
#   wine_run.sh EXE [ARG...]     (VITRELUME_WINE_TIMEOUT seconds, default 60)
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_session.sh"
if ! wine_session_available; then
    echo "SKIP: wine, Xvfb, xdotool or ImageMagick is not installed"
    exit 77
fi
trap wine_session_end EXIT
wine_session_start || exit 1
wine_start "$@"
wine_wait_exit "${VITRELUME_WINE_TIMEOUT:-60}" || echo "wine_run: killed after ${VITRELUME_WINE_TIMEOUT:-60} s" >&2
cat "$wine_out"
cat "$wine_err" >&2
exit "$wine_code"
