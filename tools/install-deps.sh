#!/usr/bin/env bash
# Installs what the project needs on Debian 12, only what is missing.
#   tools/install-deps.sh run    what building and running the demo needs
#   tools/install-deps.sh web    what building the browser version needs (tools/build-web.sh)
#   tools/install-deps.sh windows  what cross-building the Windows program and
#                                running it under Wine on a virtual display need
#   tools/install-deps.sh test   all of that, plus what the tests, fuzzers and checks need
set -euo pipefail

run_packages=(build-essential cmake ninja-build pkg-config libsdl2-dev libstb-dev
              zlib1g-dev libgl1-mesa-dri libglx-mesa0 libncurses-dev libcli11-dev)
test_packages=(googletest libgtest-dev libgmock-dev libbenchmark-dev clang
               libfreetype-dev fonts-dejavu-core lhasa jlha-utils xvfb xauth xdotool
               imagemagick sox hyperfine libarchive-tools python3 python3-pyte ffmpeg)
# emscripten's prebuilt library cache comes complete and frozen (nothing is
# downloaded); node runs its optimiser and the browser test, chromium the page,
# python3 serves it for ./run.sh --web.
web_packages=(emscripten nodejs chromium python3)
# 64-bit Wine only (the program is 64-bit). With --no-install-recommends the X
# and GL libraries that Wine's display driver opens at run time must be named.
windows_packages=(cmake ninja-build libstb-dev g++-mingw-w64-x86-64-posix
                  binutils-mingw-w64-x86-64 wine wine64 xvfb xauth xdotool imagemagick
                  libgl1 libgl1-mesa-dri libglx-mesa0 libxrandr2 libxrender1 libxcursor1
                  libxi6 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1)

case "${1:-run}" in
  run) wanted=("${run_packages[@]}") ;;
  web) wanted=("${run_packages[@]}" "${web_packages[@]}") ;;
  windows) wanted=("${windows_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${web_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}") ;;
  *) echo "usage: $0 run|web|windows|test" >&2; exit 2 ;;
esac

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
updated=false
install_missing() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  $updated || $sudo apt-get update -qq
  updated=true
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${wanted[@]}"
# The sanitizer and fuzzer runtimes of the clang that is installed, whichever
# version that is.
if [ "${1:-run}" = test ]; then
  install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
fi
