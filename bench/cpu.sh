#!/usr/bin/env bash
# CPU cost of the full-screen saver under Xvfb (1024x768x24), beside two
# XScreenSaver hacks on the same server. For each scenario at 1024x768x32
# (unscaled) and at 800x600x16 (scaled to the screen, letterboxed) it writes
# the stored options into a scratch XDG_CONFIG_HOME, starts `grazefall /s`,
# waits for the start-up (and, for Classic, the saucer's intro, which only
# Classic plays) to be over, and then measures WINDOW seconds: the program's
# and the X server's CPU time (utime + stime from /proc/PID/stat) as a share
# of one core, the frames shown per second and the share of them sent whole
# rather than as their changed parts (GRAZEFALL_FRAME_STATS).
#
#   bench/cpu.sh
#
# Environment: GRAZEFALL (the program, default build/grazefall, else
# build/host/linux/grazefall), STORE_TOOL (default
# build/tests/integration/store_options_tool), WINDOW (seconds measured,
# default 10), STARTUP (seconds before measuring, default 4), INTRO (seconds
# Classic's intro lasts on top of that, default 10), SCENARIOS and MODES to
# run fewer.
set -u

WINDOW=${WINDOW:-10}
STARTUP=${STARTUP:-4}
INTRO=${INTRO:-10}
SCENARIOS=${SCENARIOS:-Classic Invasion Halloween Custom}
MODES=${MODES:-1024x768x32 800x600x16}
HERE=$(cd "$(dirname "$0")/.." && pwd)
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
HACKS=/usr/libexec/xscreensaver
if [ ! -x "${GRAZEFALL:-}" ] || [ ! -x "${STORE_TOOL:-}" ]; then
  echo "cpu: build grazefall and store_options_tool first, or set GRAZEFALL and STORE_TOOL" >&2
  exit 2
fi
command -v Xvfb >/dev/null || {
  echo "cpu: Xvfb is not installed" >&2
  exit 2
}

WORK=$(mktemp -d "${TMPDIR:-/tmp}/grazefall-cpu-XXXXXX")
XVFB=
CHILD=
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  if [ -n "$CHILD" ]; then kill "$CHILD" 2>/dev/null; wait "$CHILD" 2>/dev/null; fi
  if [ -n "$XVFB" ]; then kill "$XVFB" 2>/dev/null; wait "$XVFB" 2>/dev/null; fi
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.out" 2>&1 &
XVFB=$!
for _ in $(seq 50); do
  [ -s "$WORK/display" ] && break
  sleep 0.1
done
[ -s "$WORK/display" ] || {
  echo "cpu: Xvfb did not start" >&2
  exit 1
}
export DISPLAY=":$(head -1 "$WORK/display")"
export HOME="$WORK/home"
mkdir -p "$HOME"
unset XSCREENSAVER_WINDOW SDL_VIDEODRIVER

# utime + stime of a process, in clock ticks.
ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
# The last "grazefall-frames: COUNT MS WHOLE" line of a log, as "COUNT MS WHOLE".
frames() { grep -a '^grazefall-frames: ' "$1" 2>/dev/null | tail -1 | cut -d' ' -f2-4; }

HZ=$(getconf CLK_TCK)
printf '%-27s %9s %9s %9s %7s %7s\n' "run" "program%" "Xserver%" "sum%" "fps" "whole%"

# Measures the running CHILD for WINDOW seconds; prints one table row.
measure() {
  local name=$1 log=$2
  local p0 x0 p1 x1 t0 t1 f0 f1 fps whole
  p0=$(ticks "$CHILD") x0=$(ticks "$XVFB") t0=$(date +%s.%N) f0=$(frames "$log")
  sleep "$WINDOW"
  p1=$(ticks "$CHILD") x1=$(ticks "$XVFB") t1=$(date +%s.%N) f1=$(frames "$log")
  fps=- whole=-
  if [ -n "$f0" ] && [ -n "$f1" ]; then
    fps=$(echo "$f0 $f1" | awk '{ if ($5 > $2) printf "%.1f", ($4 - $1) * 1000 / ($5 - $2); else print "-" }')
    whole=$(echo "$f0 $f1" | awk '{ if ($4 > $1) printf "%.0f", ($6 - $3) * 100 / ($4 - $1); else print "-" }')
  fi
  kill -0 "$CHILD" 2>/dev/null || fps="ended"
  awk -v n="$name" -v p0="$p0" -v p1="$p1" -v x0="$x0" -v x1="$x1" -v t0="$t0" -v t1="$t1" \
    -v hz="$HZ" -v fps="$fps" -v whole="$whole" 'BEGIN {
      s = t1 - t0; p = (p1 - p0) * 100 / hz / s; x = (x1 - x0) * 100 / hz / s
      printf "%-27s %9.1f %9.1f %9.1f %7s %7s\n", n, p, x, p + x, fps, whole }'
}

stop_child() {
  kill "$CHILD" 2>/dev/null
  wait "$CHILD" 2>/dev/null
  CHILD=
}

for mode in $MODES; do
  for scenario in $SCENARIOS; do
    export XDG_CONFIG_HOME="$WORK/config-$scenario-$mode"
    "$STORE_TOOL" "$XDG_CONFIG_HOME/grazefall" "$scenario" "$mode" || exit 1
    log="$WORK/$scenario-$mode.log"
    GRAZEFALL_FRAME_STATS=1 "$GRAZEFALL" /s >"$log" 2>&1 &
    CHILD=$!
    wait_for=$STARTUP
    [ "$scenario" = Classic ] && wait_for=$((STARTUP + INTRO))
    sleep "$wait_for"
    measure "$scenario $mode" "$log"
    stop_child
  done
done
unset XDG_CONFIG_HOME

for hack in galaxy fuzzyflakes; do
  if [ ! -x "$HACKS/$hack" ]; then
    printf '%-27s %s\n' "$hack" "not installed"
    continue
  fi
  "$HACKS/$hack" -root >"$WORK/$hack.log" 2>&1 &
  CHILD=$!
  sleep "$STARTUP"
  measure "$hack (xscreensaver)" "$WORK/$hack.log"
  stop_child
done

GRAZEFALL=$GRAZEFALL STORE_TOOL=$STORE_TOOL WINDOW=$WINDOW STARTUP=$STARTUP bash "$HERE/bench/cpu_dual_monitor.sh"
