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
