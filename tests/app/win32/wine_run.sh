#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual display and passes on its
# output and exit code (the cross build's test runner).
#   wine_run.sh EXE [ARG...]     (VITRELUME_WINE_TIMEOUT seconds, default 60)
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_session.sh"
wine_session_begin
wine_start "$@"
wine_wait_exit "${VITRELUME_WINE_TIMEOUT:-60}" || echo "wine_run: killed after ${VITRELUME_WINE_TIMEOUT:-60} s" >&2
cat "$wine_out"
cat "$wine_err" >&2
exit "$wine_code"
