#!/usr/bin/env bash
# Builds the browser version into build-web/site/ (index.html, index.js,
# index.wasm: all a static web server needs), with the player page beside it
# (player.html, player.js, player.wasm), and prints their sizes.
#   tools/build-web.sh
# The resource embedder runs on the build machine, so it comes from a native
# build (build-web/host); the rest is compiled by Debian's emscripten
# (build-web/wasm).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh web

jobs=$(nproc)
common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DVITRELUME_TESTS=OFF -DVITRELUME_BENCH=OFF -DVITRELUME_SDL=OFF)
cmake -S . -B build-web/host "${common[@]}" >/dev/null
cmake --build build-web/host --target embed_resources -j "$jobs"

# emcmake's own emulator setting carries a node flag that node 20 refuses.
emcmake cmake -S . -B build-web/wasm "${common[@]}" -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node \
  -DVITRELUME_EMBED_RESOURCES="$PWD/build-web/host/tools/embed_resources" >/dev/null
cmake --build build-web/wasm -j "$jobs"

rm -rf build-web/site
mkdir -p build-web/site
cp build-web/wasm/app/web/index.{html,js,wasm} build-web/site/
cp build-web/wasm/programs/ymplay/web/player.{html,js,wasm} build-web/site/
for file in build-web/site/*; do
  printf '%-28s %8d bytes, %8d gzipped\n' "$file" "$(stat -c %s "$file")" "$(gzip -9c "$file" | wc -c)"
done
bytes=0 gzipped=0
for file in build-web/site/player.*; do
  bytes=$((bytes + $(stat -c %s "$file"))) gzipped=$((gzipped + $(gzip -9c "$file" | wc -c)))
done
printf 'The player page adds %d bytes, %d gzipped\n' "$bytes" "$gzipped"
