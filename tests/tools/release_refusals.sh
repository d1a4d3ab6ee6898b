#!/usr/bin/env bash
# What tools/release.sh refuses, in a clone of the checked-out commit: a
# missing tool (its Debian package named, exit 1, before anything is built),
# an OUTDIR that cannot be written, and a disk that fills up while the files
# are packed (exit 1 with the reason, nothing left in OUTDIR).
#   release_refusals.sh SOURCE_DIR
set -uo pipefail
source_dir=${1:?source folder}
source "$(dirname "$0")/../shell_checks.sh"
enter_private_mounts "$@"
git -C "$source_dir" rev-parse --git-dir >/dev/null 2>&1 || { echo "SKIP: $source_dir is not a git checkout"; exit 77; }
work=$(mktemp -d)
trap 'umount "$work/ro" "$work/full" 2>/dev/null; rm -rf "$work"' EXIT
git clone -q "$source_dir" "$work/clone" || exit 1
release=$work/clone/tools/release.sh

check "an unknown option exits with 2" test "$(exit_code "$release" --fast)" = 2

# Every program on PATH but zip.
mkdir "$work/bin"
IFS=: read -ra folders <<<"$PATH"
for folder in "${folders[@]}"; do
  for program in "$folder"/*; do
    name=${program##*/}
    [ -x "$program" ] && [ "$name" != zip ] && [ ! -e "$work/bin/$name" ] && ln -s "$program" "$work/bin/$name"
  done
done
PATH=$work/bin "$release" --no-video "$work/out" >"$work/log" 2>&1
check "without zip it exits with 1" test $? = 1
check "and names the package" grep -qx 'release: missing zip (Debian package zip)' "$work/log"
check "before making anything" test ! -e "$work/out" -a ! -e "$work/clone/build-release"

: >"$work/file"
"$release" --no-video "$work/file/out" >"$work/log" 2>&1
check "an OUTDIR below a file exits with 1" test $? = 1
check "and says why" grep -q "^release: cannot make $work/file/out: .*Not a directory" "$work/log"

# Small disks of their own, private to this test.
if small_disk "$work/ro" 64 && mount -o remount,ro "$work/ro"; then
  "$release" --no-video "$work/ro/dist" >"$work/log" 2>&1
  check "a read-only OUTDIR exits with 1" test $? = 1
  check "and says why" grep -q "^release: cannot make $work/ro/dist: .*Read-only file system" "$work/log"
else
  echo "no mount namespace here: the read-only disk is skipped" >&2
fi
# The Linux program is built (seconds), then its archive does not fit.
if small_disk "$work/full" 256 && mkdir "$work/full/dist"; then
  "$release" --no-video "$work/full/dist" >"$work/log" 2>&1
  check "a full disk exits with 1" test $? = 1
  check "and says why" grep -q 'No space left on device' "$work/log"
  check "and leaves nothing in OUTDIR" test -z "$(ls -A "$work/full/dist")"
else
  echo "no mount namespace here: the full disk is skipped" >&2
fi
exit $((failures > 0))
