#!/usr/bin/env bash
# xsecurelock itself, run by an unprivileged user, starts the build's
# xsecurelock saver script: the program draws the intro or the herd in the
# window xsecurelock gives it, and SIGTERM (how xsecurelock ends a saver)
# ends it with exit status 0.
#   xsecurelock_test.sh path/to/grazefall path/to/xsecurelock-saver
source "$(dirname "$0")/xvfb_session.sh"
source "$(dirname "$0")/../../tools/missing-package.sh"
WRAPPER=$(realpath "${2:?usage: $0 path/to/grazefall path/to/xsecurelock-saver}")

skip() {
  echo "SKIP: $*"
  exit 77
}
for tool in xsecurelock strace xwininfo import setpriv; do
  command -v "$tool" >/dev/null || skip "$(missing_tool_reason "$tool")"
done
# The saver's exit status is read by tracing it, which takes root here (it is
# xsecurelock's child, not ours).
[[ $(id -u) -eq 0 ]] || skip "reading the exit status of xsecurelock's saver needs root"

# xsecurelock runs as nobody, with only what it needs from the environment,
# and runs the script (and the program) straight from the build tree.
as_nobody() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i HOME="$HOME" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}
start_xvfb
chown nobody "$HOME"
as_nobody test -x "$WRAPPER" -a -x "$GRAZEFALL" ||
  skip "nobody cannot run $WRAPPER and $GRAZEFALL (the build tree is closed to other users)"
# The program as the script names it (the process is found by that name).
program=$(sed -n 's/^exec "\(.*\)" -root$/\1/p' "$WRAPPER")
[[ -n "$program" && $(realpath "$program") == "$GRAZEFALL" ]] ||
  fail "$WRAPPER does not start $GRAZEFALL (it names '$program')"

as_nobody timeout -k 2 120 env XSECURELOCK_SAVER="$WRAPPER" xsecurelock \
  >"$WORK/xsecurelock.out" 2>&1 &
STARTED_PIDS+=($!)
locker=$!

# The saver: the program itself (the script execs it), a child of
# xsecurelock's saver multiplexer, with the window in its environment.
saver=""
for i in $(seq 300); do
  saver=$(pgrep -u nobody -f "^$program -root\$" | head -1 || true)
  [[ -n "$saver" ]] && break
  is_running "$locker" || skip "xsecurelock did not start here: $(tail -3 "$WORK/xsecurelock.out")"
  sleep 0.1
done
[[ -n "$saver" ]] || fail "xsecurelock started no saver in 30 s"
window=$(tr '\0' '\n' <"/proc/$saver/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p')
[[ $window =~ ^[0-9]+$ ]] || fail "the saver got no XSCREENSAVER_WINDOW from xsecurelock ('$window')"
root=$(xwininfo -root | sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p')
((window != root)) || fail "xsecurelock gave the root window"
xwininfo -id "$window" >"$WORK/window.txt" || fail "xsecurelock's window $window does not exist"
grep -q "Map State: IsViewable" "$WORK/window.txt" || fail "xsecurelock's window is not shown"
grep -q "Width: 1024" "$WORK/window.txt" && grep -q "Height: 768" "$WORK/window.txt" ||
  fail "xsecurelock's window does not cover the screen: $(grep -E 'Width|Height' "$WORK/window.txt")"

# What xsecurelock's window shows: the saucer of the intro or the herd, not
# xsecurelock's own black. The window covers the screen, so a picture of
# the screen is one of the window (import finds no window by the id of a
# child of another program's window).
drawn=0
black="?"
total="?"
for i in $(seq 60); do
  sleep 0.5
  import -window root "$WORK/window.png" 2>"$WORK/import.out" || continue
  total=$("$CONVERT" "$WORK/window.png" -format '%[fx:w*h]' info:-)
  black=$(count_color "$WORK/window.png" 000000)
  if ((total - black > 2000 && $(count_color "$WORK/window.png" FFFFFF) < total / 2)); then
    drawn=1
    break
  fi
done
((drawn)) || fail "xsecurelock's window stays black ($black of $total pixels; $(tail -1 "$WORK/import.out"))"
[[ -n "${XSECURELOCK_SHOT:-}" ]] && cp "$WORK/window.png" "$XSECURELOCK_SHOT"
is_running "$saver" || fail "the saver ended on its own"

# SIGTERM, as xsecurelock sends it; its exit status seen by a tracer.
strace -p "$saver" -e trace=none -o "$WORK/trace.txt" 2>"$WORK/strace.out" &
tracer=$!
STARTED_PIDS+=("$tracer")
for i in $(seq 50); do
  grep -q '^TracerPid:[[:space:]]*[1-9]' "/proc/$saver/status" 2>/dev/null && break
  sleep 0.1
done
grep -q '^TracerPid:[[:space:]]*[1-9]' "/proc/$saver/status" ||
  skip "strace cannot trace the saver here: $(tail -1 "$WORK/strace.out")"
kill -TERM "$saver"
wait_exit "$tracer" 5 || fail "the saver still runs 5 s after SIGTERM"
grep -q '^+++ exited with 0 +++' "$WORK/trace.txt" ||
  fail "SIGTERM did not end the saver with 0: $(tail -1 "$WORK/trace.txt")"
echo "xsecurelock: ok (its window drawn, SIGTERM ended the saver with 0)"
