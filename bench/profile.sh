#!/usr/bin/env bash
# Where the time of the full-screen saver goes, and that of the X server that
# shows it: starts Xvfb with a screen of SIZE (default 1920x1080) at 24 bits,
# stores SCENARIO (default Halloween) at the mode equal to the screen (32
# bits) in a scratch settings store, starts `grazefall /s` with one seed,
# waits START seconds, then samples the program for LEN seconds with
# `perf record` and the X server for LEN more. It prints each one's
# functions that took at least LIMIT % of its samples, each with the file it
# is in, after the frames per second and the program's CPU time a frame over
# its window.
#
#   bench/profile.sh Halloween 1920x1080
#   START=10 LEN=8 bench/profile.sh Custom 3840x2160
#
# Environment: GRAZEFALL (the program, default build/grazefall, else
# build/host/linux/grazefall), STORE_TOOL (default
# build/tests/integration/store_options_tool), START (default 8), LEN
# (default 5), LIMIT (default 1.5), SEED (default 5). Needs perf
# (Debian's linux-perf) and permission to sample a process of the same user
# (kernel.perf_event_paranoid at most 2, or root).
set -u

SCENARIO=${1:-Halloween}
SIZE=${2:-1920x1080}
START=${START:-8}
LEN=${LEN:-5}
LIMIT=${LIMIT:-1.5}
SEED=${SEED:-5}
HERE=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/common.sh
. "$HERE/bench/common.sh"
if [ ! -x "${GRAZEFALL:-}" ] || [ ! -x "${STORE_TOOL:-}" ]; then
  echo "profile: build grazefall and store_options_tool first, or set GRAZEFALL and STORE_TOOL" >&2
  exit 2
fi
for tool in Xvfb perf; do
  command -v "$tool" >/dev/null || {
    echo "profile: $tool is not installed" >&2
    exit 2
  }
done
case $SIZE in
  [1-9]*x[1-9]*) ;;
  *)
    echo "profile: the screen size must be WIDTHxHEIGHT, not '$SIZE'" >&2
    exit 2
    ;;
esac

begin_scratch

start_xvfb "$SIZE"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$HOME"
unset XSCREENSAVER_WINDOW SDL_VIDEODRIVER
"$STORE_TOOL" "$XDG_CONFIG_HOME/grazefall" "$SCENARIO" "${SIZE}x32" || exit 1

GRAZEFALL_SEED=$SEED GRAZEFALL_FRAME_STATS=1 "$GRAZEFALL" /s >"$WORK/saver.log" 2>&1 &
CHILD=$!
sleep "$START"
kill -0 "$CHILD" 2>/dev/null || {
  echo "profile: the saver ended before it was sampled:" >&2
  tail -5 "$WORK/saver.log" >&2
  exit 1
}
f0=$(frames "$WORK/saver.log") p0=$(ticks "$CHILD")
perf record -q -o "$WORK/program.data" -p "$CHILD" -- sleep "$LEN" >"$WORK/perf.out" 2>&1 || {
  echo "profile: perf could not sample the saver:" >&2
  tail -3 "$WORK/perf.out" >&2
  exit 1
}
f1=$(frames "$WORK/saver.log") p1=$(ticks "$CHILD")
perf record -q -o "$WORK/server.data" -p "$XVFB" -- sleep "$LEN" >"$WORK/perf.out" 2>&1

# The functions over LIMIT % of a recording, one a line.
top() {
  perf report -i "$1" --no-children --stdio --sort dso,sym 2>/dev/null |
    awk -v limit="$LIMIT" '$1 ~ /%$/ && $1 + 0 >= limit { $2 = "(" $2 ")"; $3 = ""; print }'
}
echo "# $SCENARIO at ${SIZE}x32 on Xvfb $SIZE, seed $SEED, $LEN s after $START s"
echo "$f0 $f1" | awk -v p0="$p0" -v p1="$p1" -v hz="$(getconf CLK_TCK)" '{
  if (NF == 6 && $4 > $1)
    printf "# %d frames, %.1f a second; the program %.2f ms of CPU a frame\n",
      $4 - $1, ($4 - $1) * 1000 / ($5 - $2), (p1 - p0) * 1000 / hz / ($4 - $1) }'
echo "## grazefall"
top "$WORK/program.data"
echo "## Xvfb"
top "$WORK/server.data"
