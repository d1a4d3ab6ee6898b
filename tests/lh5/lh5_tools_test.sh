#!/usr/bin/env bash
# lh5pack and lh5unpack refuse an endless input while reading it, with a
# message that says so (memory capped at 1 GiB, so that a reader that tries
# to hold it all fails fast instead of exhausting the machine).
#   lh5_tools_test.sh LH5PACK LH5UNPACK
set -uo pipefail
lh5pack=${1:?lh5pack path}
lh5unpack=${2:?lh5unpack path}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../shell_checks.sh"
refusal() { (ulimit -v 1048576 && "$@") 2>&1 >/dev/null; echo "exit $?"; }

check "lh5pack refuses endless input" test "$(refusal "$lh5pack" /dev/zero "$work/out.lzh")" = \
  "$(printf 'lh5pack: /dev/zero is larger than 64 MiB: refused\nexit 1')"
check "and writes no archive" test ! -e "$work/out.lzh"
check "lh5unpack refuses endless input" test "$(refusal "$lh5unpack" /dev/zero)" = \
  "$(printf 'lh5unpack: /dev/zero is larger than 128 MiB: refused\nexit 1')"
exit $((failures > 0))
