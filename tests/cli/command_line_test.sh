#!/usr/bin/env bash
# The command-line conventions of every program, from the outside: --help
# prints the usage on standard output and exits 0, --version prints the name
# and the project's version, an unknown option and a bad value are named on
# standard error with the usage and exit 2 (nothing on standard output), and
# "--option=value" means what "--option value" means.
#   command_line_test.sh VERSION NAME=PROGRAM...
set -uo pipefail
version=${1:?project version}
shift
source "$(dirname "$0")/../shell_checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -A program
for pair in "$@"; do program[${pair%%=*}]=${pair#*=}; done

# refused NAME PROBLEM ARGUMENTS...: exit code 2, the problem on the first
# line of standard error, the usage after it, nothing on standard output.
refused() {
  local name=$1 problem=$2
  shift 2
  "${program[$name]}" "$@" >"$work/out" 2>"$work/err"
  local code=$?
  check "$name $*: exits with 2 (not $code)" test "$code" = 2
  check "$name $*: says '$problem'" test "$(head -n 1 "$work/err")" = "$name: $problem"
  check "$name $*: shows the usage" grep -q "^usage: $name" "$work/err"
  check "$name $*: prints nothing on standard output" test ! -s "$work/out"
}

for name in "${!program[@]}"; do
  exe=${program[$name]}
  check "$name --help exits with 0" "$exe" --help >"$work/out" 2>"$work/err"
  check "$name --help prints the usage first" test "$(head -c $((7 + ${#name})) "$work/out")" = "usage: $name"
  check "$name --help lists --version" grep -q -- '--version' "$work/out"
  check "$name --help prints nothing on standard error" test ! -s "$work/err"
  check "$name --version exits with 0" "$exe" --version >"$work/out" 2>"$work/err"
  check "$name --version prints its name and the version" test "$(cat "$work/out")" = "$name $version"
  refused "$name" "unknown option --no-such-option" --no-such-option
done

# Values, either way; bad ones named with the option.
songs=$work/songs
check "make_test_songs --seconds=1" "${program[make_test_songs]}" "$songs" --seconds=1
check "writes its songs" test -s "$songs/ym5.ym"
refused make_test_songs "--seconds: needs 1 to 3600, not 0" "$songs" --seconds=0
check "ymrender --seconds=0.5" "${program[ymrender]}" "$songs/ym5.ym" --raw --seconds=0.5 >"$work/equals.raw"
check "ymrender --seconds 0.5" "${program[ymrender]}" "$songs/ym5.ym" --raw --seconds 0.5 >"$work/spaced.raw"
check "render the same" cmp -s "$work/equals.raw" "$work/spaced.raw"
check "of 0.5 s" test "$(stat -c %s "$work/equals.raw")" = $((22050 * 4))
refused ymrender "--seconds: needs a number of seconds above 0 (at most a day), not 0" "$songs/ym5.ym" --raw --seconds=0
refused ymrender "--seconds needs a value" "$songs/ym5.ym" --raw --seconds
refused ymrender "--seconds given more than once" "$songs/ym5.ym" --raw --seconds 1 --seconds 2
refused ymrender "--mute: D not in {A,B,C}" "$songs/ym5.ym" --raw --mute=D
refused ymrender "unexpected argument second.ym" "$songs/ym5.ym" second.ym
check "lh5pack --name=x" "${program[lh5pack]}" "$songs/ym5.ym" "$work/equals.lzh" --name=x
check "lh5pack --name x" "${program[lh5pack]}" "$songs/ym5.ym" "$work/spaced.lzh" --name x
check "pack the same" cmp -s "$work/equals.lzh" "$work/spaced.lzh"
check "lh5unpack gives the song back" cmp -s <("${program[lh5unpack]}" "$work/equals.lzh") "$songs/ym5.ym"
refused lh5pack "OUT is required" "$songs/ym5.ym"
refused lh5unpack "ARCHIVE is required"
refused ymcompose "-o is required" score.txt
check "vitrelume-capture --frames=2" "${program[vitrelume-capture]}" --frames=2 --wav="$work/equals.wav"
check "vitrelume-capture --frames 2" "${program[vitrelume-capture]}" --frames 2 --wav "$work/spaced.wav"
check "capture the same" cmp -s "$work/equals.wav" "$work/spaced.wav"
refused vitrelume-capture "--frames: needs a frame step from 1 to 1000000, not 0" --frames=0 --wav=a.wav
if [ -n "${program[ymplay]:-}" ]; then
  refused ymplay "--start: needs a number of seconds from 0 (at most a day), not -1" --start=-1 "$songs/ym5.ym"
fi
exit $((failures > 0))
