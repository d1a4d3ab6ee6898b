#!/usr/bin/env bash
# The draw time of a main-scene frame in WebAssembly (node) against native:
# both time drawMainSceneFrame over the scene's first 3,000 frames.
#   bench/demo/web/draw_time.sh     (after tools/build-web.sh and a native build in build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
cmake --build "$root/build-web/wasm" --target bench_draw_frames >/dev/null
node "$root/build-web/wasm/bench/demo/web/bench_draw_frames.js"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" --target bench_main_scene >/dev/null
"$root/build/bench/demo/bench_main_scene" --benchmark_format=console 2>/dev/null | grep -E "_(median|mean) "
