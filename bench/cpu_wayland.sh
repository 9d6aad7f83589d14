#!/usr/bin/env bash
# CPU cost of the full-screen saver under a headless sway (pixman renderer,
# run as an unprivileged user, a pointer and a keyboard on the seat), beside
# the same saver under Xvfb at the same size. For each output size and each
# scenario, stored at the output's size and 32 bits, it starts `grazefall
# /s`, waits for the start-up (and Classic's intro), and measures WINDOW
# seconds: the program's and the compositor's (or X server's) CPU time as a
# share of one core, and the frames presented per second. Then, with the
# first scenario running, the output is powered off (`swaymsg output ...
# dpms off`, or where sway cannot do that to a headless output, the
# compositor stopped: the headless backend of wlroots 0.15 takes no change
# of an output's "enabled" state, so `dpms off` and `disable` fail, and
# switching the saver's workspace away takes its keyboard focus, which ends
# the saver): after POWER_OFF_SETTLE seconds the cost is measured
# again, and once the output is on again the frame counter must move and
# the screen show the scene.
#
#   sudo bench/cpu_wayland.sh
#
# Environment: GRAZEFALL, STORE_TOOL, POINTER_TOOL (default: in build/),
# WINDOW (default 10), STARTUP (default 4), INTRO (default 10), SCENARIOS,
# SIZES (default "1024x768 1920x1080"), SCALE (the sway output's scale,
# default 1; SIZES stay the output's pixels), STORED (the stored mode,
# default each size at 32 bits), X11=0 to leave out Xvfb, POWER=0 to
# leave out the powered-off row, PERF=FILE to record a profile (perf record
# -g) of the saver during the first Wayland row and print where its time
# went, SEED (a number: every run seeds the same herd).
set -u
HERE=$(cd "$(dirname "$0")/.." && pwd)
WINDOW=${WINDOW:-10}
STARTUP=${STARTUP:-4}
INTRO=${INTRO:-10}
SCENARIOS=${SCENARIOS:-Classic Invasion Halloween Custom}
SIZES=${SIZES:-1024x768 1920x1080}
SCALE=${SCALE:-1}
STORED=${STORED:-}
POWER_OFF_SETTLE=${POWER_OFF_SETTLE:-2}
STORE_TOOL=${STORE_TOOL:-$HERE/build/tests/integration/store_options_tool}
program=${GRAZEFALL:-$HERE/build/grazefall}
pointer=${POINTER_TOOL:-$HERE/build/tests/integration/virtual_pointer_tool}
for needed in "$program" "$pointer" "$STORE_TOOL"; do
  [[ -x $needed ]] || {
    echo "cpu_wayland: $needed is missing: build grazefall, virtual_pointer_tool and store_options_tool" >&2
    exit 2
  }
done
# The session rig of the Wayland tests: sway as an unprivileged user, the
# program copied where that user can run it, cleanup on exit.
source "$HERE/tests/integration/wayland_session.sh" "$program" "$pointer"
set +e +o pipefail
STORE="$WORK/store_options_tool"
cp "$STORE_TOOL" "$STORE"
chmod 755 "$STORE"
HZ=$(getconf CLK_TCK)

# utime + stime of a process, in clock ticks.
ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
# The frames presented so far, from the last GRAZEFALL_FRAME_STATS line.
frames() { grep -a '^grazefall-frames: ' "$1" 2>/dev/null | tail -1 | cut -d' ' -f2-3; }

printf '%-30s %9s %9s %9s %7s\n' "run" "program%" "server%" "sum%" "fps"
# Measures PID (and the server SERVER) for WINDOW seconds; prints a row.
measure() {
  local name=$1 pid=$2 server=$3 log=$4
  local p0 s0 p1 s1 t0 t1 f0 f1 fps
  p0=$(ticks "$pid") s0=$(ticks "$server") t0=$(date +%s.%N) f0=$(frames "$log")
  if [[ -n ${PERF_NOW:-} ]]; then
    perf record -q -g -o "$PERF_NOW" -p "$pid" -- sleep "$WINDOW" >/dev/null 2>&1
  else
    sleep "$WINDOW"
  fi
  p1=$(ticks "$pid") s1=$(ticks "$server") t1=$(date +%s.%N) f1=$(frames "$log")
  fps=-
  if [[ -n $f0 && -n $f1 ]]; then
    fps=$(echo "$f0 $f1" | awk '{ if ($4 > $2) printf "%.1f", ($3 - $1) * 1000 / ($4 - $2); else print "0" }')
  fi
  kill -0 "$pid" 2>/dev/null || fps=ended
  awk -v n="$name" -v p0="$p0" -v p1="$p1" -v s0="$s0" -v s1="$s1" -v t0="$t0" -v t1="$t1" \
    -v hz="$HZ" -v fps="$fps" 'BEGIN {
      s = t1 - t0; p = (p1 - p0) * 100 / hz / s; x = (s1 - s0) * 100 / hz / s
      printf "%-30s %9.1f %9.1f %9.1f %7s\n", n, p, x, p + x, fps }'
}

# Stores SCENARIO at MODE in a configuration of its own; its folder in CONFIG.
store() {
  CONFIG="$WORK/config-$1-$2"
  mkdir -p "$CONFIG"
  chown "$OWNER" "$CONFIG"
  as_user "$STORE" "$CONFIG/grazefall" "$1" "$2" >/dev/null || fail "could not store $1 at $2"
}

settle_time() { if [[ $1 == Classic ]]; then echo $((STARTUP + INTRO)); else echo "$STARTUP"; fi; }

start_sway
hold_pointer
output=$(as_user swaymsg -t get_outputs -r | python3 -c 'import json,sys; print(json.load(sys.stdin)[0]["name"])')
as_user swaymsg output "$output" scale "$SCALE" >/dev/null || fail "sway took no scale $SCALE"
first_row=yes
for size in $SIZES; do
  as_user swaymsg output "$output" mode "$size" >/dev/null || fail "sway took no mode $size"
  at=$size
  [[ $SCALE != 1 ]] && at="$size@$SCALE"
  for scenario in $SCENARIOS; do
    store "$scenario" "${STORED:-${size}x32}"
    hold_keyboard
    log="$WORK/saver-$scenario-$size.out"
    start_program "saver-$scenario-$size" env XDG_CONFIG_HOME="$CONFIG" GRAZEFALL_FRAME_STATS=1 \
      ${SEED:+"GRAZEFALL_SEED=$SEED"} "$GRAZEFALL" /s
    saver=$LAST_PID
    sleep "$(settle_time "$scenario")"
    PERF_NOW=
    [[ -n ${PERF:-} && $first_row == yes ]] && PERF_NOW=$PERF
    measure "$scenario $at wayland" "$saver" "$SWAY_PID" "$log"
    first_row=no
    if [[ ${POWER:-1} != 0 && $scenario == "${SCENARIOS%% *}" && $size == "${SIZES%% *}" ]]; then
      as_user swaymsg output "$output" dpms off >/dev/null
      # A headless output of wlroots 0.15 cannot be powered off ("Failed to
      # commit output": its backend's allow-list of output state lacks
      # WLR_OUTPUT_STATE_ENABLED): there the compositor is stopped instead,
      # which asks for no picture either.
      how="output off"
      if as_user swaymsg -t get_outputs -r | grep -q '"dpms": *true'; then
        how="compositor stopped"
        kill -STOP "$SWAY_PID"
      fi
      sleep "$POWER_OFF_SETTLE"
      measure "$scenario $at $how" "$saver" "$SWAY_PID" "$log"
      before=$(frames "$log" | cut -d' ' -f1)
      if [[ $how == "compositor stopped" ]]; then
        kill -CONT "$SWAY_PID"
      else
        as_user swaymsg output "$output" dpms on >/dev/null
      fi
      sleep 2
      after=$(frames "$log" | cut -d' ' -f1)
      shown=no
      if screenshot "$WORK/back.png" && (($(color_count "$WORK/back.png") > 8)) &&
        ((${after:-0} > ${before:-0})); then
        shown=yes
      fi
      printf '%-30s frames %s -> %s, scene shown again: %s\n' "$scenario $at output on" \
        "${before:--}" "${after:--}" "$shown"
    fi
    kill "$saver" 2>/dev/null
    wait_exit "$saver" 10 || kill -9 "$saver" 2>/dev/null
  done
done

if [[ ${X11:-1} != 0 ]] && command -v Xvfb >/dev/null; then
  for size in $SIZES; do
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    xvfb=$!
    STARTED_PIDS+=("$xvfb")
    for _ in $(seq 50); do [[ -s $WORK/display ]] && break; sleep 0.1; done
    display=":$(head -1 "$WORK/display")"
    for scenario in $SCENARIOS; do
      store "$scenario" "${STORED:-${size}x32}"
      log="$WORK/x11-$scenario-$size.out"
      env -u WAYLAND_DISPLAY DISPLAY="$display" XDG_CONFIG_HOME="$CONFIG" GRAZEFALL_FRAME_STATS=1 \
        ${SEED:+"GRAZEFALL_SEED=$SEED"} "$SOURCE_PROGRAM" /s >"$log" 2>&1 &
      saver=$!
      STARTED_PIDS+=("$saver")
      sleep "$(settle_time "$scenario")"
      measure "$scenario $size x11" "$saver" "$xvfb" "$log"
      kill "$saver" 2>/dev/null
      wait_exit "$saver" 10 || kill -9 "$saver" 2>/dev/null
    done
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    : >"$WORK/display"
  done
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
if [[ -n ${PERF:-} && -s $PERF ]]; then
  echo "where the first Wayland row's time went (perf report --sort dso):"
  perf report -i "$PERF" --no-children --sort dso --stdio -g none 2>/dev/null |
    grep -v '^#' | grep -v '^$' | head -12
fi
