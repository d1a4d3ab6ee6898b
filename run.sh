#!/usr/bin/env bash
# Installs what is missing, builds the demo and runs it.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVITRELUME_TESTS=OFF -DVITRELUME_BENCH=OFF >/dev/null
cmake --build build --target vitrelume
exec build/app/sdl/vitrelume
