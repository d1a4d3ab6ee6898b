#!/usr/bin/env bash
# Makes or removes the Wine prefix that the tests of one run share
# (VITRELUME_WINEPREFIX), so that only the first pays for wineboot.
#   wine_prefix.sh create DIR | remove DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_session.sh"
[ -n "${2:-}" ] || { echo "usage: $0 create|remove DIR" >&2; exit 2; }
case "$1" in
create)
    command -v wine >/dev/null 2>&1 || { echo "SKIP: wine is not installed"; exit 77; }
    rm -rf "$2"
    wine_prefix_create "$2" || { echo "wineboot failed in $2"; exit 1; } ;;
remove)
    if [ -f "$2/system.reg" ]; then
        WINEPREFIX=$2 wineserver -k 2>/dev/null
        WINEPREFIX=$2 wineserver -w 2>/dev/null
    fi
    rm -rf "$2" ;;
*)
    echo "usage: $0 create|remove DIR" >&2
    exit 2 ;;
esac
