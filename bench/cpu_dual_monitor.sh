#!/usr/bin/env bash
# CPU cost of the full-screen saver on two monitors side by side, beside one
# monitor of the same total size, on a real X server (Xorg with the dummy
# driver; tests/integration/dual_monitor_xorg.conf). Halloween is stored at
# 1280x720x32: on two 1280x720 monitors each shows the whole frame, on one
# 2560x720 monitor the frame is scaled to 1280x720 and letterboxed. For each
# it measures WINDOW seconds of the program's and Xorg's CPU time as a share
# of one core, the frames per second and the share sent whole, as
# bench/cpu.sh does. Xorg must be able to start (as root here); otherwise
# the rows say why.
#
#   bench/cpu_dual_monitor.sh
#
# Environment: GRAZEFALL, STORE_TOOL, WINDOW (default 10), STARTUP (default
# 4), SEED, as for bench/cpu.sh.
set -u

WINDOW=${WINDOW:-10}
STARTUP=${STARTUP:-4}
HERE=$(cd "$(dirname "$0")/.." && pwd)
GRAZEFALL=${GRAZEFALL:-$HERE/build/grazefall}
STORE_TOOL=${STORE_TOOL:-$HERE/build/tests/integration/store_options_tool}
ROW='%-27s %9s %9s %9s %7s %7s\n'
if [ ! -x "$GRAZEFALL" ] || [ ! -x "$STORE_TOOL" ]; then
  echo "cpu_dual_monitor: build grazefall and store_options_tool first" >&2
  exit 2
fi
if ! command -v Xorg >/dev/null || [ ! -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
  printf '%-27s %s\n' "dual monitor" "Xorg or its dummy driver is not installed"
  exit 0
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/grazefall-cpu-dual-XXXXXX")
XORG=
CHILD=
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  if [ -n "$CHILD" ]; then kill "$CHILD" 2>/dev/null; wait "$CHILD" 2>/dev/null; fi
  if [ -n "$XORG" ]; then kill "$XORG" 2>/dev/null; wait "$XORG" 2>/dev/null; fi
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cp "$HERE/tests/integration/dual_monitor_xorg.conf" "$WORK/xorg.conf"
Xorg -displayfd 3 -config "$WORK/xorg.conf" -noreset -nolisten tcp -logfile "$WORK/xorg.log" \
  3>"$WORK/display" >"$WORK/xorg.out" 2>&1 &
XORG=$!
for _ in $(seq 150); do
  [ -s "$WORK/display" ] && break
  sleep 0.1
done
if [ ! -s "$WORK/display" ]; then
  printf '%-27s %s\n' "dual monitor" "Xorg did not start"
  exit 0
fi
DISPLAY=":$(head -1 "$WORK/display")"
export DISPLAY
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$HOME"
unset XSCREENSAVER_WINDOW SDL_VIDEODRIVER
"$STORE_TOOL" "$XDG_CONFIG_HOME/grazefall" Halloween 1280x720x32 || exit 1

ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
frames() { grep -a '^grazefall-frames: ' "$1" 2>/dev/null | tail -1 | cut -d' ' -f2-4; }
HZ=$(getconf CLK_TCK)

# Starts the saver, waits STARTUP seconds, measures WINDOW seconds; one row.
run() {
  local name=$1 log="$WORK/$1.log"
  local p0 x0 p1 x1 t0 t1 f0 f1 fps=- whole=-
  env ${SEED:+"GRAZEFALL_SEED=$SEED"} GRAZEFALL_FRAME_STATS=1 "$GRAZEFALL" /s >"$log" 2>&1 &
  CHILD=$!
  sleep "$STARTUP"
  p0=$(ticks "$CHILD") x0=$(ticks "$XORG") t0=$(date +%s.%N) f0=$(frames "$log")
  sleep "$WINDOW"
  p1=$(ticks "$CHILD") x1=$(ticks "$XORG") t1=$(date +%s.%N) f1=$(frames "$log")
  if [ -n "$f0" ] && [ -n "$f1" ]; then
    fps=$(echo "$f0 $f1" | awk '{ if ($5 > $2) printf "%.1f", ($4 - $1) * 1000 / ($5 - $2); else print "-" }')
    whole=$(echo "$f0 $f1" | awk '{ if ($4 > $1) printf "%.0f", ($6 - $3) * 100 / ($4 - $1); else print "-" }')
  fi
  kill -0 "$CHILD" 2>/dev/null || fps="ended"
  awk -v n="$name" -v p0="$p0" -v p1="$p1" -v x0="$x0" -v x1="$x1" -v t0="$t0" -v t1="$t1" \
    -v hz="$HZ" -v fps="$fps" -v whole="$whole" -v row="$ROW" 'BEGIN {
      s = t1 - t0; p = (p1 - p0) * 100 / hz / s; x = (x1 - x0) * 100 / hz / s
      printf row, n, sprintf("%.1f", p), sprintf("%.1f", x), sprintf("%.1f", p + x), fps, whole }'
  kill "$CHILD" 2>/dev/null
  wait "$CHILD" 2>/dev/null
  CHILD=
}

# shellcheck disable=SC2059  # ROW is the table's format
printf "$ROW" "run (Xorg dummy)" "program%" "Xserver%" "sum%" "fps" "whole%"
# One monitor of 2560x720.
xrandr --newmode 2560x720 148.5 2560 2780 2860 3300 720 725 730 750 +hsync +vsync 2>/dev/null
xrandr --addmode DUMMY0 2560x720 && xrandr --output DUMMY0 --mode 2560x720 || exit 1
run "Halloween 1 x 2560x720"
# Two monitors of 1280x720 side by side.
xrandr --output DUMMY0 --mode 1280x720 && xrandr --addmode DUMMY1 1280x720 &&
  xrandr --output DUMMY1 --mode 1280x720 --right-of DUMMY0 || exit 1
run "Halloween 2 x 1280x720"
