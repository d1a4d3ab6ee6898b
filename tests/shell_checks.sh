# Sourced by the shell tests. check DESCRIPTION COMMAND... counts a failure
# (and names it) when the command fails; exit_code COMMAND... prints the
# command's exit status. End a test with: exit $((failures > 0))
failures=0
check() {
  local what=$1
  shift
  if ! "$@"; then
    echo "FAILED: $what" >&2
    failures=$((failures + 1))
  fi
}
exit_code() { "$@" >/dev/null 2>&1; echo $?; }

# check_wav_header DESCRIPTION FILE: every field of the 44-byte header of a
# 44,100 Hz 16-bit stereo PCM file agrees with the file's size.
check_wav_header() {
  local what=$1 file=$2 size fields
  size=$(stat -c %s "$file")
  fields=$(od -An -v -t u4 -j 4 -N 4 "$file"; od -An -v -t u4 -j 16 -N 4 "$file"
           od -An -v -t u2 -j 20 -N 4 "$file"; od -An -v -t u4 -j 24 -N 8 "$file"
           od -An -v -t u2 -j 32 -N 4 "$file"; od -An -v -t u4 -j 40 -N 4 "$file")
  check "$what: RIFF, WAVE, fmt and data tags" \
    test "$(head -c 4 "$file")$(tail -c +9 "$file" | head -c 8)$(tail -c +37 "$file" | head -c 4)" = RIFFWAVEfmt\ data
  # RIFF size, fmt size, PCM, channels, rate, byte rate, block align, bits, data size
  check "$what: header fields" test "$(echo $fields)" = "$((size - 8)) 16 1 2 44100 176400 4 16 $((size - 44))"
}

# Tests that need a small full disk run in a mount namespace of their own:
# call enter_private_mounts "$@" first; then small_disk DIR KIB mounts a
# tmpfs of KIB KiB on DIR, gone with the namespace. Where no namespace can be
# made (no unshare, no rights) small_disk fails and the caller skips.
enter_private_mounts() {
  [ -n "${IN_PRIVATE_MOUNTS:-}" ] && return 0
  local map=()
  [ "$(id -u)" = 0 ] || map=(-r)
  if unshare "${map[@]}" -m --propagation private true 2>/dev/null; then
    IN_PRIVATE_MOUNTS=1 exec unshare "${map[@]}" -m --propagation private "$0" "$@"
  fi
  IN_PRIVATE_MOUNTS=none
}
small_disk() {
  [ "${IN_PRIVATE_MOUNTS:-}" = 1 ] || return 1
  mkdir -p "$1" && mount -t tmpfs -o "size=${2}k" tmpfs "$1"
}

# cap_memory KIB (in a subshell): caps the address space, except in the
# sanitizer builds, whose runtimes reserve terabytes of it up front
# (test.sh sets VITRELUME_SANITIZERS there).
cap_memory() { [ -n "${VITRELUME_SANITIZERS:-}" ] || ulimit -v "$1"; }
