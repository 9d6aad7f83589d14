# shellcheck shell=bash
# What the benchmarks share, for a script that sets HERE (the project's
# root) and sources this: the programs they start, GRAZEFALL and STORE_TOOL
# as given, else the first build of each that exists (either stays empty
# when none does), their scratch folder, the Xvfb they start them on and
# what they read of a running saver.

# The first of its arguments that is an executable file.
find_program() {
  local candidate
  for candidate in "$@"; do
    if [ -x "$candidate" ]; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}
GRAZEFALL=${GRAZEFALL:-$(find_program "$HERE/build/grazefall" "$HERE/build/host/linux/grazefall")}
STORE_TOOL=${STORE_TOOL:-$(find_program "$HERE/build/tests/integration/store_options_tool")}

# Starts Xvfb with a screen of $1 (WxH) at 24 bits, its files in the
# script's scratch folder WORK; sets XVFB (its process) and DISPLAY.
start_xvfb() {
  rm -f "$WORK/display"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.out" 2>&1 &
  # shellcheck disable=SC2034  # read by the sourcing script
  XVFB=$!
  for _ in $(seq 50); do
    [ -s "$WORK/display" ] && break
    sleep 0.1
  done
  [ -s "$WORK/display" ] || {
    echo "$(basename "$0" .sh): Xvfb did not start at $1" >&2
    exit 1
  }
  DISPLAY=":$(head -1 "$WORK/display")"
  export DISPLAY
}

# Makes the script's scratch folder WORK, and has it go when the script
# ends, with the saver (CHILD) and the X server (XVFB) the script started.
begin_scratch() {
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/grazefall-$(basename "$0" .sh)-XXXXXX")
  XVFB=
  CHILD=
  trap end_scratch EXIT
  trap 'exit 130' INT TERM
}
# shellcheck disable=SC2317  # run by the EXIT trap
end_scratch() {
  if [ -n "$CHILD" ]; then kill "$CHILD" 2>/dev/null; wait "$CHILD" 2>/dev/null; fi
  if [ -n "$XVFB" ]; then kill "$XVFB" 2>/dev/null; wait "$XVFB" 2>/dev/null; fi
  rm -rf "$WORK"
}

# utime + stime of a process, in clock ticks.
ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
# The last "grazefall-frames: COUNT MS WHOLE" line of a log, as "COUNT MS WHOLE".
frames() { grep -a '^grazefall-frames: ' "$1" 2>/dev/null | tail -1 | cut -d' ' -f2-4; }
