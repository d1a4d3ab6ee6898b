#!/usr/bin/env bash
# Makes the release from the checked-out commit, in clean builds of its own
# (build-release/), and writes into OUTDIR (default dist/):
#   vitrelume-15th-anniversary-win64.zip          the Windows program, nfo, diz, screenshot
#   vitrelume-15th-anniversary-linux-x86_64.tar.gz  the Linux program with its SDL2
#   vitrelume-15th-anniversary-web.zip            the site, index.html at the top
#   vitrelume-15th-anniversary-soundtrack.flac    the song once through, then a 10 s fade
#   vitrelume-15th-anniversary-2160p60.mp4        the whole production in 4K (not with --no-video)
#   SHA256SUMS
# The same commit gives the same bytes in any folder, at any time: file times
# come from the commit, archive members have a fixed order, owner and mode, no
# build path reaches an output and no tool writes a date of its own.
#   tools/release.sh [--no-video] [OUTDIR]
# Exit 0 only when every file was written completely; on a failure nothing is
# left in OUTDIR but what was there before.
set -euo pipefail
umask 022
export LC_ALL=C TZ=UTC

root=$(cd "$(dirname "$0")/.." && pwd)
video=1
outdir=
for arg in "$@"; do
  case $arg in
    --no-video) video=0 ;;
    -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "release: unknown option $arg" >&2; echo "usage: tools/release.sh [--no-video] [OUTDIR]" >&2; exit 2 ;;
    *) [ -z "$outdir" ] || { echo "release: only one OUTDIR" >&2; exit 2; }; outdir=$arg ;;
  esac
done
outdir=${outdir:-$root/dist}

name=vitrelume-15th-anniversary
windows_zip=$name-win64.zip
linux_tar=$name-linux-x86_64.tar.gz
web_zip=$name-web.zip
soundtrack=$name-soundtrack.flac
movie=$name-2160p60.mp4

fail() { echo "release: $*" >&2; exit 1; }

# Every tool before anything is built, each with the Debian package that has it.
missing=()
need() {  # COMMAND PACKAGE
  command -v "$1" >/dev/null 2>&1 || missing+=("$1 (Debian package $2)")
}
need git git
need cmake cmake
need ninja ninja-build
need g++ g++
need strip binutils
need readelf binutils
need sdl2-config libsdl2-dev
need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
need x86_64-w64-mingw32-objdump binutils-mingw-w64-x86-64
need emcmake emscripten
need node nodejs
need zip zip
need tar tar
need gzip gzip
need ffmpeg ffmpeg
need sha256sum coreutils
if [ ${#missing[@]} -gt 0 ]; then
  for tool in "${missing[@]}"; do echo "release: missing $tool" >&2; done
  fail "tools/install-deps.sh release installs them"
fi

epoch=$(git -C "$root" log -1 --format=%ct) || fail "$root is not a git checkout: the release takes its date from the commit"
export SOURCE_DATE_EPOCH=$epoch
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
  echo "release: note: the working tree has changes that are not committed; the files are not the commit's"

# Everything is made in a folder beside the outputs and moved into place at
# the end, so a failure (a full disk, a missing file, an interrupt) leaves
# nothing partial behind.
mkdir -p "$outdir" 2>/dev/null || fail "cannot make $outdir: $(mkdir -p "$outdir" 2>&1 | sed 's/^mkdir: //')"
stage=$(mktemp -d "$outdir/.release.XXXXXX" 2>/dev/null) ||
  fail "cannot write in $outdir: $(touch "$outdir/.release-probe" 2>&1 | sed 's/^touch: //')"
done_ok=0
cleanup() {
  rm -rf "$stage"
  [ "$done_ok" = 1 ] || echo "release: failed, nothing was written to $outdir" >&2
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

steps=$((video ? 9 : 8))
step=0
started=$SECONDS
progress() {
  step=$((step + 1))
  printf 'release: [%d/%d] %s (%d s)\n' "$step" "$steps" "$1" $((SECONDS - started))
}

# Builds log to a file; a failure shows its end.
builds=$root/build-release
log=$builds/release.log
run_logged() {
  if ! "$@" >>"$log" 2>&1; then
    tail -n 30 "$log" >&2
    fail "$1 failed (the whole log was $log)"
  fi
}

# All files of the archives: the commit's time, no write bit but the owner's.
settle() {  # PATH...
  chmod -R u=rwX,go=rX "$@"
  find "$@" -exec touch -h -d "@$epoch" {} +
}

jobs=$(nproc)
# Build paths never reach an output: sources and build folders both lie under $root.
prefix_map="-ffile-prefix-map=$root=."
release_flags=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DVITRELUME_TESTS=OFF -DVITRELUME_BENCH=OFF
               "-DCMAKE_C_FLAGS=$prefix_map" "-DCMAKE_CXX_FLAGS=$prefix_map")

progress "Building the Linux program and the tools"
rm -rf "$builds"
mkdir -p "$builds"
linux_tools=(vitrelume ymrender embed_resources)
[ $video = 1 ] && linux_tools+=(vitrelume-capture)
# Only glibc (and what SDL2 needs) comes from the system: the C++ runtime is linked in.
run_logged cmake -S "$root" -B "$builds/linux" "${release_flags[@]}" \
  "-DCMAKE_EXE_LINKER_FLAGS=-static-libstdc++ -static-libgcc" "-DCMAKE_BUILD_RPATH=\$ORIGIN/lib"
run_logged cmake --build "$builds/linux" -j "$jobs" --target "${linux_tools[@]}"
ymrender=$builds/linux/programs/ymrender/ymrender

progress "Packing $linux_tar"
folder=$stage/linux/$name-linux-x86_64
mkdir -p "$folder/lib"
strip --strip-all -o "$folder/vitrelume" "$builds/linux/app/sdl/vitrelume"
sdl=$(ldd "$builds/linux/app/sdl/vitrelume" | awk '$1 == "libSDL2-2.0.so.0" { print $3 }')
[ -f "$sdl" ] || fail "the program does not link libSDL2-2.0.so.0"
cp "$(readlink -f "$sdl")" "$folder/lib/libSDL2-2.0.so.0"
runpath=$(readelf -d "$folder/vitrelume" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
[ "$runpath" = '$ORIGIN/lib' ] || fail "the program's run path is '$runpath', not \$ORIGIN/lib"
# The newest glibc symbol version the program or its SDL2 asks for is the
# oldest glibc it runs on; the nfo says which.
glibc=$(readelf -V "$folder/vitrelume" "$folder/lib/libSDL2-2.0.so.0" | grep -o 'GLIBC_[0-9][0-9.]*' |
        sed 's/GLIBC_//' | sort -V | tail -n 1)
grep -qF "glibc $glibc or newer" "$root/docs/release/vitrelume.nfo" ||
  fail "the program needs glibc $glibc: say \"glibc $glibc or newer\" in docs/release/vitrelume.nfo"
cp "$root/docs/release/vitrelume.nfo" "$folder/"
cp "$root/docs/main-scene.png" "$folder/screenshot.png"
settle "$folder"
chmod 0755 "$folder/vitrelume"
tar -C "$stage/linux" --sort=name --format=gnu --owner=0 --group=0 --numeric-owner -cf - "$name-linux-x86_64" |
  gzip -9 -n >"$stage/$linux_tar"

progress "Rendering $soundtrack"
# The tags come from the song itself; the date is the commit's.
song_field() { "$ymrender" "$root/resources/217-music.lh5" | sed -n "s/^$1: *//p"; }
run_logged "$ymrender" "$root/resources/217-music.lh5" --fade-out 10 -o "$stage/soundtrack.wav"
run_logged ffmpeg -hide_banner -nostdin -loglevel error -i "$stage/soundtrack.wav" -map_metadata -1 \
  -c:a flac -compression_level 8 -fflags +bitexact -flags:a +bitexact \
  -metadata title="$(song_field Title)" -metadata artist="$(song_field Author)" \
  -metadata album="Vitrelume 15th Anniversary" -metadata date="$(date -u -d "@$epoch" +%Y-%m-%d)" \
  -metadata comment="$(song_field Comment)" -f flac "$stage/$soundtrack"
rm "$stage/soundtrack.wav"

progress "Building the Windows program"
# No time stamp in the header, no symbols or debugging sections (added to
# the toolchain's flags, which make the program self-contained).
run_logged cmake -S "$root" -B "$builds/windows" "${release_flags[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "-DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s -Wl,--no-insert-timestamp"
run_logged cmake --build "$builds/windows" -j "$jobs" --target vitrelume
exe=$builds/windows/bin/vitrelume.exe
! x86_64-w64-mingw32-objdump -h "$exe" | grep -q '\.debug' || fail "$exe has debugging sections"
run_logged "$root/tests/app/win32/check_imports.sh" x86_64-w64-mingw32-objdump "$exe"

progress "Packing $windows_zip"
folder=$stage/windows
mkdir -p "$folder"
cp "$exe" "$folder/vitrelume.exe"
cp "$root/docs/release/vitrelume.nfo" "$root/docs/release/file_id.diz" "$folder/"
cp "$root/docs/main-scene.png" "$folder/screenshot.png"
settle "$folder"
# -X: no owner or extra time fields; the DOS times are the commit's in UTC.
(cd "$folder" && zip -X -D -9 -q "$stage/$windows_zip" file_id.diz vitrelume.nfo vitrelume.exe screenshot.png)

progress "Building the browser version"
# emcmake's own emulator setting carries a node flag that node 20 refuses.
run_logged emcmake cmake -S "$root" -B "$builds/web" "${release_flags[@]}" -DVITRELUME_SDL=OFF \
  -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node -DVITRELUME_EMBED_RESOURCES="$builds/linux/tools/embed_resources"
run_logged cmake --build "$builds/web" -j "$jobs" --target vitrelume_web

progress "Packing $web_zip"
folder=$stage/web
mkdir -p "$folder"
cp "$builds"/web/app/web/index.{html,js,wasm} "$folder/"
cp "$root/docs/release/vitrelume.nfo" "$folder/"
settle "$folder"
(cd "$folder" && zip -X -D -9 -q "$stage/$web_zip" index.html index.js index.wasm vitrelume.nfo)

outputs=("$windows_zip" "$linux_tar" "$web_zip" "$soundtrack")
if [ $video = 1 ]; then
  progress "Capturing $movie (minutes)"
  run_logged "$builds/linux/programs/capture/vitrelume-capture" --size 3840x2160 --video "$stage/$movie"
  outputs+=("$movie")
fi

progress "Checking sums and moving the files into $outdir"
(cd "$stage" && sha256sum "${outputs[@]}" >SHA256SUMS && sha256sum --quiet -c SHA256SUMS)
for file in "${outputs[@]}" SHA256SUMS; do
  chmod 0644 "$stage/$file"
  mv -f "$stage/$file" "$outdir/$file"
done
done_ok=1
echo "release: done in $((SECONDS - started)) s from commit $(git -C "$root" log -1 --format=%h), glibc $glibc or newer:"
(cd "$outdir" && for file in "${outputs[@]}" SHA256SUMS; do printf '  %-48s %12d bytes\n' "$file" "$(stat -c %s "$file")"; done)
