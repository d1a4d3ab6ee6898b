#!/usr/bin/env bash
# Installs what is missing, builds everything (the browser and Windows
# versions too) and runs every test: a short smoke run of each fuzz target, the
# Windows build's tests under Wine, the unit and integration tests under the
# sanitizers, then the unit, integration and browser tests through CTest (last,
# so that its summary closes the output).
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

# The unit and integration tests once more under AddressSanitizer with
# UndefinedBehaviorSanitizer, and the threaded parts (the sound stream, the
# music, the capture, the program's two sound threads under Xvfb) under
# ThreadSanitizer.
# The suppression files hold reports from third-party libraries only, each
# with its reason; VITRELUME_SANITIZERS tells the tests to set no memory cap.
sanitizers="$PWD/tests/sanitizers"
sanitized_ctest() {  # BUILD_DIR CTEST_ARGUMENTS...
  local dir=$1
  shift
  (cd "$dir" && env VITRELUME_SANITIZERS=1 \
    ASAN_OPTIONS=detect_leaks=1:strict_init_order=1 \
    LSAN_OPTIONS="suppressions=$sanitizers/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$sanitizers/ubsan.supp" \
    TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$sanitizers/tsan.supp" \
    ctest --output-on-failure -j "$jobs" "$@")
}
sanitized_build() {  # BUILD_DIR SANITIZER [TARGETS...]
  local dir=$1 sanitizer=$2
  shift 2
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVITRELUME_SANITIZE="$sanitizer" -DVITRELUME_BENCH=OFF >/dev/null
  local targets=()
  [ $# -eq 0 ] || targets=(--target "$@")
  cmake --build "$dir" -j "$jobs" "${targets[@]}"
}
sanitized_build build-asan address
sanitized_ctest build-asan
sanitized_build build-tsan thread app_tests ym_chip_tests ym_music_tests demo_music_stream_tests vitrelume-capture \
  ymrender make_test_songs lh5pack vitrelume
sanitized_ctest build-tsan -R '^(SoundStreamTest|PulledSoundStream|RingSoundDevice|MusicShutDown|YmChip\.ChipsOnTwoThreads|Ym(Loader|Player|Tracker|DigiMix|Depack)|ymrender_command_line|ym_pinned_renders|capture_command_line|threads_under_xvfb)'

cd build-test
ctest --output-on-failure -j "$jobs"
