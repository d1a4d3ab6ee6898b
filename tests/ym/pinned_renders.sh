#!/usr/bin/env bash
# The regression net of the chip and the player: short renders of every kind
# of generated test song and of the shipped song, compared by hash with
# renders that were listened to and looked at (spectrograms) once and then
# frozen in pinned_renders.sha256. Other tests compare two of our programs
# with each other; this one fails when any sample moves, whichever program
# moved it. A deliberate change of the sound is re-pinned with
#   pinned_renders.sh YMRENDER MAKE_TEST_SONGS LH5PACK SHIPPED_SONG --print
# after listening to the new renders (--keep DIR keeps them as WAV files).
set -uo pipefail
export LC_ALL=C  # the order of the songs in the pinned file
ymrender=${1:?ymrender path}
make_songs=${2:?make_test_songs path}
lh5pack=${3:?lh5pack path}
shipped=${4:?shipped song path}
mode=${5:-check}
pinned="$(dirname "$0")/pinned_renders.sha256"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$make_songs" "$work" --seconds 3 || exit 1
# The packed path: the same song through the depacker must sound the same.
"$lh5pack" "$work/ym6-effects.ym" "$work/ym6-effects.lh5" || exit 1

# Four seconds of a three-second song cross its loop.
render() {  # NAME FILE SECONDS
  local hash
  hash=$("$ymrender" "$2" --raw --seconds "$3" | sha256sum | cut -d' ' -f1)
  [ "${PIPESTATUS[0]}" = 0 ] || hash="render-failed"
  echo "$hash  $1"
  if [ "$mode" = --keep ]; then "$ymrender" "$2" -o "$keep/$1.wav" --seconds "$3"; fi
}
keep=${6:-}
[ "$mode" != --keep ] || mkdir -p "$keep"
{
  for song in "$work"/*.ym; do render "$(basename "$song" .ym)" "$song" 4; done
  render ym6-effects-packed "$work/ym6-effects.lh5" 4
  render shipped-first-30s "$shipped" 30
} >"$work/renders.sha256"

case "$mode" in
  --print|--keep) cat "$work/renders.sha256"; exit 0 ;;
esac
if ! diff -u "$pinned" "$work/renders.sha256"; then
  echo "FAILED: renders differ from the pinned ones (lines with + are today's)" >&2
  exit 1
fi
