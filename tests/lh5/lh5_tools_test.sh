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
failures=0
expect_refusal() {  # expect_refusal LIMIT COMMAND...
  local limit=$1
  shift
  local message
  message=$( (ulimit -v 1048576 && "$@") 2>&1 >/dev/null)
  local code=$?
  if [ $code -ne 1 ] || [ "$message" != "$(basename "$1"): /dev/zero is larger than $limit MiB: refused" ]; then
    echo "FAILED: $* exits $code: $message" >&2
    failures=$((failures + 1))
  fi
}
expect_refusal 64 "$lh5pack" /dev/zero "$work/out.lzh"
[ -e "$work/out.lzh" ] && { echo "FAILED: lh5pack wrote an archive" >&2; failures=$((failures + 1)); }
expect_refusal 128 "$lh5unpack" /dev/zero
exit $((failures > 0))
