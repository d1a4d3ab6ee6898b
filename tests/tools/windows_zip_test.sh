#!/usr/bin/env bash
# The Windows zip as a user gets it, unpacked into a fresh folder: its four
# files, the program stripped and self-contained (only the system's DLLs), and
# under Wine the title on screen pixel for pixel, Escape ending it with 0.
#   windows_zip_test.sh RELEASE_DIR SOURCE_DIR
set -uo pipefail
release=${1:?release folder}
source_dir=${2:?source folder}
source "$(dirname "$0")/../shell_checks.sh"
objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null && command -v unzip >/dev/null || { echo "SKIP: no mingw-w64 objdump or unzip"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

unzip -q "$release/vitrelume-15th-anniversary-win64.zip" -d "$work/unpacked" || exit 1
exe=$work/unpacked/vitrelume.exe
check "the four files" test "$(cd "$work/unpacked" && ls | tr '\n' ' ')" = \
  "file_id.diz screenshot.png vitrelume.exe vitrelume.nfo "
check "the texts are the repository's" cmp -s "$work/unpacked/vitrelume.nfo" "$source_dir/docs/release/vitrelume.nfo"
check "no debugging sections" test -z "$("$objdump" -h "$exe" | grep -e '\.debug' -e '\.stab')"
check "symbols stripped" grep -q 'symbols stripped' <("$objdump" -p "$exe")
check "no time stamp" grep -q 'Time/Date[[:space:]]*Thu Jan  1 00:00:00 1970' <("$objdump" -p "$exe")
check "only the system's DLLs" "$source_dir/tests/app/win32/check_imports.sh" "$objdump" "$exe"
check "at most 512 KiB ($(stat -c %s "$exe") bytes)" test "$(stat -c %s "$exe")" -le 524288
check "the title under Wine" "$source_dir/tests/app/win32/program_under_wine.sh" title "$exe" \
  "$source_dir/resources/141-title.png"
exit $((failures > 0))
