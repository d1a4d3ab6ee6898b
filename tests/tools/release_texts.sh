#!/usr/bin/env bash
# The nfo and file_id.diz as the release ships them: plain printable ASCII
# lines; the nfo at most 80 columns, the diz at most 10 lines of 45 columns;
# the nfo names every file of the release and every member of its archives.
#   release_texts.sh SOURCE_DIR
set -uo pipefail
source_dir=${1:?source folder}
nfo=$source_dir/docs/release/vitrelume.nfo
diz=$source_dir/docs/release/file_id.diz
source "$(dirname "$0")/../shell_checks.sh"

longest() { awk '{ if (length($0) > n) n = length($0) } END { print n + 0 }' "$1"; }
for text in "$nfo" "$diz"; do
  check "$(basename "$text") is printable ASCII" test -z "$(LC_ALL=C tr -d '\n -~' <"$text")"
  check "$(basename "$text") ends with a line break" test "$(tail -c 1 "$text" | od -An -c | tr -d ' ')" = '\n'
done
check "nfo lines fit 80 columns (longest $(longest "$nfo"))" test "$(longest "$nfo")" -le 80
check "diz lines fit 45 columns (longest $(longest "$diz"))" test "$(longest "$diz")" -le 45
check "diz has at most 10 lines" test "$(wc -l <"$diz")" -le 10

# The names the release script writes, as it spells them.
for file in $(sed -n 's/^[a-z_]*=\(\$name-[a-z0-9_-]*\.[a-z.0-9]*\)$/\1/p' "$source_dir/tools/release.sh"); do
  file=vitrelume-15th-anniversary-${file#\$name-}
  check "the nfo names $file" grep -qF "$file" "$nfo"
done
for member in vitrelume.exe file_id.diz screenshot.png lib/libSDL2-2.0.so.0 index.html index.wasm SHA256SUMS; do
  check "the nfo names $member" grep -qF "$member" "$nfo"
done
check "the nfo says which glibc" grep -q 'glibc [0-9.]* or newer' "$nfo"
exit $((failures > 0))
