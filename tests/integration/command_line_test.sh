#!/usr/bin/env bash
# The Linux command line: help and version, XScreenSaver's window options,
# SIGTERM, and bad input (a message for a person at a terminal, exit 255).
source "$(dirname "$0")/xvfb_session.sh"

# Runs the program on a terminal (script gives it one); output in $WORK/tty.out.
on_terminal() {
  local quoted
  printf -v quoted '%q ' "$GRAZEFALL" "$@"
  set +e
  timeout 10 script -qec "$quoted" "$WORK/tty.out" >/dev/null
  CODE=$?
  set -e
}

"$GRAZEFALL" --help | grep -q -- "-window-id" || fail "--help does not list -window-id"
"$GRAZEFALL" -help >/dev/null || fail "-help did not exit 0"
[[ "$("$GRAZEFALL" --version)" == "grazefall "[0-9]* ]] || fail "--version printed no version"

# No display: a clear message, exit 255.
(
  unset DISPLAY WAYLAND_DISPLAY
  on_terminal /s
  [[ $CODE -eq 255 ]] || fail "/s without a display exited $CODE"
  grep -q "cannot open the display" "$WORK/tty.out" || fail "no message without a display"
)

start_xvfb
on_terminal -window-id garbage
[[ $CODE -eq 255 ]] || fail "-window-id garbage exited $CODE"
grep -q 'not a window id: "garbage"' "$WORK/tty.out" || fail "no message for a garbage id"
on_terminal --window-id 0x7ffffff0
[[ $CODE -eq 255 ]] || fail "-window-id of no window exited $CODE"
grep -q "no X window" "$WORK/tty.out" || fail "no message for a window that does not exist"
# Started by a machine (no terminal), the same mistake is silent.
set +e
quiet=$("$GRAZEFALL" --window-id=zz 2>&1)
code=$?
set -e
[[ $code -eq 255 && -z "$quiet" ]] || fail "without a terminal: exit $code, output '$quiet'"

# -window: an ordinary window; SIGTERM ends it at once with exit code 0.
start_grazefall ordinary -window -fps
id=$(wait_window Grazefall) || fail "-window opened no window"
sleep 2
kill -TERM "$SAVER_PID"
wait_exit "$SAVER_PID" 2 || fail "SIGTERM did not end -window within 2 seconds"
[[ $EXIT_CODE -eq 0 ]] || fail "SIGTERM gave exit code $EXIT_CODE"

# -window-id in hex: drawn into that window, and ended by its going away.
xterm -geometry 50x15+0+0 &
XTERM_PID=$!
STARTED_PIDS+=("$XTERM_PID")
wait_window xterm >/dev/null || fail "xterm did not open"
top=$(xdotool search --name '^xterm$' | head -1)
start_grazefall embedded --window-id "$(printf '0x%x' "$top")"
sleep 3
is_running "$SAVER_PID" || fail "-window-id ended at once: $(cat "$WORK/embedded.out")"
kill "$XTERM_PID"
wait_exit "$SAVER_PID" 3 || fail "-window-id outlived its window"
echo "command line: ok"
