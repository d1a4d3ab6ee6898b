#!/usr/bin/env bash
# Installs what the project needs on Debian 12, only what is missing.
#   tools/install-deps.sh run    what building and running the demo needs
#   tools/install-deps.sh web    what building the browser version needs (tools/build-web.sh)
#   tools/install-deps.sh test   all of that, plus what the tests, fuzzers and checks need
set -euo pipefail

run_packages=(build-essential cmake ninja-build pkg-config libsdl2-dev libstb-dev
              zlib1g-dev libgl1-mesa-dri libglx-mesa0)
test_packages=(googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
               libfreetype-dev fonts-dejavu-core lhasa jlha-utils xvfb xauth xdotool
               imagemagick sox hyperfine python3)
# emscripten's prebuilt library cache comes complete and frozen (nothing is
# downloaded); node runs its optimiser and the browser test, chromium the page,
# python3 serves it for ./run.sh --web.
web_packages=(emscripten nodejs chromium python3)

wanted=("${run_packages[@]}")
case "${1:-run}" in
  web) wanted+=("${web_packages[@]}") ;;
  test) wanted+=("${web_packages[@]}" "${test_packages[@]}") ;;
esac

missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
