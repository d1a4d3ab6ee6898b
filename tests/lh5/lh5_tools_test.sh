#!/usr/bin/env bash
# lh5pack and lh5unpack from the outside: an endless input is refused while
# being read (memory capped at 1 GiB, so that a reader that tries to hold it
# all fails fast instead of exhausting the machine); a member name that a
# level-0 header cannot hold is refused; a full disk leaves no archive.
#   lh5_tools_test.sh LH5PACK LH5UNPACK
set -uo pipefail
lh5pack=${1:?lh5pack path}
lh5unpack=${2:?lh5unpack path}
source "$(dirname "$0")/../shell_checks.sh"
enter_private_mounts "$@"
work=$(mktemp -d)
trap 'umount "$work/disk" 2>/dev/null; rm -rf "$work"' EXIT
refusal() { (cap_memory 1048576 && "$@") 2>&1 >/dev/null; echo "exit $?"; }

check "lh5pack refuses endless input" test "$(refusal "$lh5pack" /dev/zero "$work/out.lzh")" = \
  "$(printf 'lh5pack: /dev/zero is larger than 64 MiB: refused\nexit 1')"
check "and writes no archive" test ! -e "$work/out.lzh"
check "lh5unpack refuses endless input" test "$(refusal "$lh5unpack" /dev/zero)" = \
  "$(printf 'lh5unpack: /dev/zero is larger than 128 MiB: refused\nexit 1')"
# The header's size byte holds 22 + the name's length: 233 bytes fit, and
# lhasa extracts the member under that name; 234 would wrap it.
head -c 5000 /dev/urandom >"$work/member"
fits=$(printf 'n%.0s' $(seq 233))
check "a 233-byte name is packed" "$lh5pack" "$work/member" "$work/fits.lzh" --name "$fits"
check "our unpacker takes it" cmp -s <("$lh5unpack" "$work/fits.lzh") "$work/member"
mkdir "$work/out" && (cd "$work/out" && lha -xq "$work/fits.lzh" 2>/dev/null)
check "lhasa extracts it under its name" cmp -s "$work/out/$fits" "$work/member"
check "a 234-byte name exits with 2" test "$(exit_code "$lh5pack" "$work/member" "$work/long.lzh" --name "${fits}n")" = 2
check "saying why" grep -q "the member name is 234 bytes: a level-0 header holds 1 to 233" \
  <("$lh5pack" "$work/member" "$work/long.lzh" --name "${fits}n" 2>&1)
cp "$work/member" "$work/${fits}n"
check "so does a 234-byte input file name" test "$(exit_code "$lh5pack" "$work/${fits}n" "$work/long.lzh")" = 2
check "and no archive is written" test ! -e "$work/long.lzh"

if small_disk "$work/disk" 4; then
  check "a full disk exits with 1" test "$(exit_code "$lh5pack" "$work/member" "$work/disk/out.lzh")" = 1
  check "and says why" grep -q "cannot write $work/disk/out.lzh: No space left on device" \
    <("$lh5pack" "$work/member" "$work/disk/out.lzh" 2>&1)
  check "and leaves no file" test -z "$(ls -A "$work/disk")"
else
  echo "no mount namespace here: the full-disk checks are skipped" >&2
fi
exit $((failures > 0))
