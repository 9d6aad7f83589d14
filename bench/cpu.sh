#!/usr/bin/env bash
# CPU cost of the full-screen saver under Xvfb, beside two XScreenSaver hacks
# on the same server. For each screen size in SIZES (an Xvfb screen of that
# size at 24 bits) and each scenario, at the mode equal to the screen (32
# bits) and, where SCALED names one for that screen, at a mode scaled to it,
# it writes the stored options into a scratch XDG_CONFIG_HOME, starts
# `grazefall /s`, waits for the start-up to be over, and then measures WINDOW
# seconds: the program's and the X server's CPU time (utime + stime from
# /proc/PID/stat) as a share of one core, the frames shown per second and the
# share of them sent whole rather than as their changed parts
# (GRAZEFALL_FRAME_STATS). Classic, whose saucer's intro every start shows, is
# measured twice: in its intro, right after the start-up, and once INTRO
# seconds from its start have passed. Each row ends with the program's
# resident memory (VmRSS) at the end of its window.
#
#   bench/cpu.sh
#   SIZES="1024x768 1920x1080 3840x2160" bench/cpu.sh
#
# Environment: GRAZEFALL (the program, default build/grazefall, else
# build/host/linux/grazefall), STORE_TOOL (default
# build/tests/integration/store_options_tool), WINDOW (seconds measured,
# default 10), STARTUP (seconds before measuring, default 4), INTRO (seconds
# from Classic's start before it is measured past its intro, default 40),
# SIZES (default 1024x768), SCALED (SCREEN:MODE pairs, default
# "1024x768:800x600x16 3840x2160:1920x1080x32"), SCENARIOS and HACKS_RUN to
# run fewer, SEED (a number: every run seeds the same herd).
set -u

WINDOW=${WINDOW:-10}
STARTUP=${STARTUP:-4}
INTRO=${INTRO:-40}
SCENARIOS=${SCENARIOS:-Classic Invasion Halloween Custom}
SIZES=${SIZES:-1024x768}
SCALED=${SCALED-1024x768:800x600x16 3840x2160:1920x1080x32}
HACKS_RUN=${HACKS_RUN-galaxy fuzzyflakes}
HERE=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/common.sh
. "$HERE/bench/common.sh"
HACKS=/usr/libexec/xscreensaver
if [ ! -x "${GRAZEFALL:-}" ] || [ ! -x "${STORE_TOOL:-}" ]; then
  echo "cpu: build grazefall and store_options_tool first, or set GRAZEFALL and STORE_TOOL" >&2
  exit 2
fi
command -v Xvfb >/dev/null || {
  echo "cpu: Xvfb is not installed" >&2
  exit 2
}

begin_scratch

stop_xvfb() {
  kill "$XVFB" 2>/dev/null
  wait "$XVFB" 2>/dev/null
  XVFB=
}
export HOME="$WORK/home"
mkdir -p "$HOME"
unset XSCREENSAVER_WINDOW SDL_VIDEODRIVER

# Resident memory of a process, in MiB.
resident() { awk '/^VmRSS:/ { printf "%.0f", $2 / 1024 }' "/proc/$1/status" 2>/dev/null || echo -; }

HZ=$(getconf CLK_TCK)
printf '%-40s %9s %9s %9s %7s %7s %7s\n' "run" "program%" "Xserver%" "sum%" "fps" "whole%" "RSS-MiB"

# Measures the running CHILD for WINDOW seconds; prints one table row.
measure() {
  local name=$1 log=$2
  local p0 x0 p1 x1 t0 t1 f0 f1 fps whole rss
  p0=$(ticks "$CHILD") x0=$(ticks "$XVFB") t0=$(date +%s.%N) f0=$(frames "$log")
  sleep "$WINDOW"
  p1=$(ticks "$CHILD") x1=$(ticks "$XVFB") t1=$(date +%s.%N) f1=$(frames "$log")
  fps=- whole=-
  if [ -n "$f0" ] && [ -n "$f1" ]; then
    fps=$(echo "$f0 $f1" | awk '{ if ($5 > $2) printf "%.1f", ($4 - $1) * 1000 / ($5 - $2); else print "-" }')
    whole=$(echo "$f0 $f1" | awk '{ if ($4 > $1) printf "%.0f", ($6 - $3) * 100 / ($4 - $1); else print "-" }')
  fi
  rss=$(resident "$CHILD")
  kill -0 "$CHILD" 2>/dev/null || fps="ended"
  awk -v n="$name" -v p0="$p0" -v p1="$p1" -v x0="$x0" -v x1="$x1" -v t0="$t0" -v t1="$t1" \
    -v hz="$HZ" -v fps="$fps" -v whole="$whole" -v rss="$rss" 'BEGIN {
      s = t1 - t0; p = (p1 - p0) * 100 / hz / s; x = (x1 - x0) * 100 / hz / s
      printf "%-40s %9.1f %9.1f %9.1f %7s %7s %7s\n", n, p, x, p + x, fps, whole, rss }'
}

stop_child() {
  kill "$CHILD" 2>/dev/null
  wait "$CHILD" 2>/dev/null
  CHILD=
}

# The modes run on a screen of $1: the native one, then any scaled one.
modes_for() {
  local pair modes="${1}x32"
  for pair in $SCALED; do
    [ "${pair%%:*}" = "$1" ] && modes="$modes ${pair#*:}"
  done
  echo "$modes"
}

for size in $SIZES; do
  start_xvfb "$size"
  echo "# screen $size, load average $(cut -d' ' -f1-3 /proc/loadavg)"
  for mode in $(modes_for "$size"); do
    for scenario in $SCENARIOS; do
      export XDG_CONFIG_HOME="$WORK/config-$scenario-$mode"
      "$STORE_TOOL" "$XDG_CONFIG_HOME/grazefall" "$scenario" "$mode" || exit 1
      log="$WORK/$scenario-$size-$mode.log"
      env ${SEED:+"GRAZEFALL_SEED=$SEED"} GRAZEFALL_FRAME_STATS=1 "$GRAZEFALL" /s >"$log" 2>&1 &
      CHILD=$!
      started=$(date +%s)
      sleep "$STARTUP"
      if [ "$scenario" = Classic ]; then
        measure "$size $scenario intro $mode" "$log"
        left=$((started + INTRO - $(date +%s)))
        [ "$left" -gt 0 ] && sleep "$left"
      fi
      measure "$size $scenario $mode" "$log"
      stop_child
    done
  done
  unset XDG_CONFIG_HOME

  for hack in $HACKS_RUN; do
    if [ ! -x "$HACKS/$hack" ]; then
      printf '%-40s %s\n' "$size $hack" "not installed"
      continue
    fi
    "$HACKS/$hack" -root >"$WORK/$hack.log" 2>&1 &
    CHILD=$!
    sleep "$STARTUP"
    measure "$size $hack (xscreensaver)" "$WORK/$hack.log"
    stop_child
  done
  stop_xvfb
done

GRAZEFALL=$GRAZEFALL STORE_TOOL=$STORE_TOOL WINDOW=$WINDOW STARTUP=$STARTUP SEED=${SEED:-} \
  bash "$HERE/bench/cpu_dual_monitor.sh"
