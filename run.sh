#!/usr/bin/env bash
# Installs what is missing, builds the demo and runs it.
#   ./run.sh              the Linux program
#   ./run.sh --web [PORT] the browser version, served on http://127.0.0.1:PORT (8000)
set -euo pipefail
cd "$(dirname "$0")"
if [[ ${1:-} == --web ]]; then
  tools/build-web.sh
  port=${2:-8000}
  echo "Serving the page on http://127.0.0.1:$port/ (Ctrl+C stops)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
fi
tools/install-deps.sh run
# A folder of its own: the README's hand build in build/ keeps its tests and benchmarks.
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DVITRELUME_TESTS=OFF -DVITRELUME_BENCH=OFF >/dev/null
cmake --build build-run --target vitrelume
exec build-run/app/sdl/vitrelume
