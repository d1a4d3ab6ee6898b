#!/usr/bin/env bash
# Short run of every fuzz target in a fuzz build: fuzz/smoke.sh BUILD_DIR SECONDS
# A target is an executable named fuzz_* under BUILD_DIR/fuzz; its seeds are
# the folder <target>_seeds beside it, when the build made one.
set -euo pipefail
build=${1:?build dir}
seconds=${2:-20}
targets=$(find "$build/fuzz" -type f -executable -name 'fuzz_*' | sort)
if [ -z "$targets" ]; then
  echo "no fuzz targets in $build/fuzz" >&2
  exit 1
fi
for exe in $targets; do
  name=$(basename "$exe")
  corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  dirs=("$corpus")
  [ -d "${exe}_seeds" ] && dirs+=("${exe}_seeds")
  echo "== $name: ${seconds}s"
  "$exe" -max_total_time="$seconds" -print_final_stats=1 "${dirs[@]}" 2>&1 | tail -n 12
done
