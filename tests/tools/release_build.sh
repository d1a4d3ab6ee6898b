#!/usr/bin/env bash
# tools/release.sh --no-video from two clones of the checked-out commit, in
# folders of different names and depths: the same SHA256SUMS, and the sums
# hold. The first clone's files stay in WORK/first/dist for the tests that
# unpack them (the fixture's clean-up removes WORK).
#   release_build.sh SOURCE_DIR WORK
set -uo pipefail
source_dir=${1:?source folder}
work=${2:?work folder}
source "$(dirname "$0")/../shell_checks.sh"
git -C "$source_dir" rev-parse --git-dir >/dev/null 2>&1 || { echo "SKIP: $source_dir is not a git checkout"; exit 77; }
rm -rf "$work"
mkdir -p "$work/second/a/b"
git clone -q "$source_dir" "$work/first" || exit 1
git clone -q "$source_dir" "$work/second/a/b/elsewhere" || exit 1

check "the first release" "$work/first/tools/release.sh" --no-video
# The default OUTDIR in one, a folder outside the clone in the other.
check "the second release" "$work/second/a/b/elsewhere/tools/release.sh" --no-video "$work/second/out"
check "both give the same files" cmp "$work/first/dist/SHA256SUMS" "$work/second/out/SHA256SUMS"
check "the sums hold" sh -c "cd '$work/first/dist' && sha256sum -c SHA256SUMS"
check "four files and the sums" test "$(ls "$work/first/dist" | wc -l)" = 5
check "nothing else is left in OUTDIR" test -z "$(ls -A "$work/second/out" | grep -v -e '\.zip$' -e '\.tar\.gz$' -e '\.flac$' -e '^SHA256SUMS$')"
rm -rf "$work/second"
exit $((failures > 0))
