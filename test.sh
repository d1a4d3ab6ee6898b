#!/usr/bin/env bash
# Installs what is missing, builds everything (the browser and Windows
# versions too) and runs every test: a short smoke run of each fuzz target, the
# Windows build's tests under Wine, then the unit, integration and browser
# tests through CTest (last, so that its summary closes the output).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh test

jobs=$(nproc)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Release -DVITRELUME_WEB_SITE="$PWD/build-web/site" >/dev/null
cmake --build build-test -j "$jobs"

# The browser version, which CTest's web test runs in headless Chromium.
tools/build-web.sh

# The fuzz targets need clang with its sanitizers.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVITRELUME_FUZZ=ON -DVITRELUME_TESTS=OFF -DVITRELUME_BENCH=OFF -DVITRELUME_SDL=OFF >/dev/null
cmake --build build-fuzz -j "$jobs"
fuzz/smoke.sh build-fuzz 20

# The Windows program, cross-built; its tests run under Wine.
tools/build-windows.sh build-windows
(cd build-windows && ctest --output-on-failure -j "$jobs")

cd build-test
ctest --output-on-failure -j "$jobs"
