#!/usr/bin/env bash
# The web zip as a demo or game site takes it: index.html at the top with the
# rest of the site beside it; unpacked and served, the browser test's held
# frames (the title and the main scene against the native capture) pass on it.
#   web_zip_test.sh RELEASE_DIR NODE PAGE_TEST VITRELUME_CAPTURE
set -uo pipefail
release=${1:?release folder}
node=${2:?node}
page_test=${3:?page.test.mjs}
capture=${4:?vitrelume-capture}
source "$(dirname "$0")/../shell_checks.sh"
command -v unzip >/dev/null && [ -x "${CHROMIUM:-/usr/bin/chromium}" ] || { echo "SKIP: no unzip or chromium"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

zip=$release/vitrelume-15th-anniversary-web.zip
check "index.html, index.js, index.wasm and the nfo at the top" \
  test "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "index.html index.js index.wasm vitrelume.nfo "
unzip -q "$zip" -d "$work/site" || exit 1
held_frames() {
  VITRELUME_WEB_SITE="$work/site" VITRELUME_CAPTURE="$capture" \
    "$node" --test --test-name-pattern 'held frame' "$page_test" >"$work/log" 2>&1 || { cat "$work/log"; return 1; }
  grep -q '^# pass 1$' "$work/log" || { cat "$work/log"; return 1; }
}
check "the held frames in Chromium" held_frames
exit $((failures > 0))
