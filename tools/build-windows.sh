#!/usr/bin/env bash
# Cross-builds the Windows program with mingw-w64, installing what is missing.
#   tools/build-windows.sh [BUILD_DIR]     (default: build-windows)
# The programs land in BUILD_DIR/bin; each is one self-contained .exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
"$root/tools/install-deps.sh" windows
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)"
