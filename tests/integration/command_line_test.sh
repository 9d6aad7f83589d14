#!/usr/bin/env bash
# The Linux command line: help and version, XScreenSaver's window options,
# SIGTERM and SIGINT, and bad input or a missing display (a message for a
# person at a terminal, exit 255).
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

# DISPLAY naming an X server that is not there: the settings (/c, and no
# arguments) refuse as the saver does, with a message and exit 255, rather
# than aborting inside Qt.
absent=""
for n in $(seq 170 199); do
  if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then
    absent=":$n"
    break
  fi
done
[[ -n "$absent" ]] || fail "no unused display number"
(
  export DISPLAY=$absent
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_SESSION_TYPE
  for args in /c ""; do
    on_terminal $args
    [[ $CODE -eq 255 ]] || fail "'$args' with DISPLAY=$absent exited $CODE: $(cat "$WORK/tty.out")"
    grep -q "cannot open the display: .*$absent" "$WORK/tty.out" ||
      fail "'$args' with DISPLAY=$absent: no message ($(cat "$WORK/tty.out"))"
  done
)
# Told to draw offscreen, the dialog needs no X server: it stays up until
# TERM closes it as Cancel.
start_program offscreen env DISPLAY="$absent" QT_QPA_PLATFORM=offscreen "$GRAZEFALL" /c
OFFSCREEN_PID=$LAST_PID
sleep 2
is_running "$OFFSCREEN_PID" || fail "/c offscreen ended by itself: $(cat "$WORK/offscreen.out")"
kill -TERM "$OFFSCREEN_PID"
wait_exit "$OFFSCREEN_PID" 10 || fail "SIGTERM did not close the offscreen dialog"
[[ $EXIT_CODE -eq 255 ]] || fail "the offscreen dialog closed by SIGTERM exited $EXIT_CODE"

start_xvfb

# The settings dialog: TERM (a logout, a supervisor) and INT close it as
# Cancel does, with Cancel's exit code, and the stored Options stay as they
# were. The first dialog seeds the settings folder.
folder="$HOME/.config/grazefall"
start_with_window dialog Grazefall "$GRAZEFALL" /c || fail "/c showed no dialog"
DIALOG_PID=$LAST_PID
[[ -s "$folder/Options" ]] || fail "the dialog did not store Options"
before=$(sha256sum <"$folder/Options")
xdotool windowfocus --sync "$WINDOW_ID" key --clearmodifiers Escape
wait_exit "$DIALOG_PID" 10 || fail "Escape did not close the dialog"
cancel_code=$EXIT_CODE
for sig in TERM INT; do
  start_with_window "dialog-$sig" Grazefall "$GRAZEFALL" /c || fail "/c showed no dialog"
  DIALOG_PID=$LAST_PID
  sleep 0.5
  kill -"$sig" "$DIALOG_PID"
  wait_exit "$DIALOG_PID" 10 || fail "SIG$sig did not close the dialog"
  [[ $EXIT_CODE -eq $cancel_code ]] ||
    fail "SIG$sig gave exit code $EXIT_CODE; Cancel gives $cancel_code"
  [[ "$(sha256sum <"$folder/Options")" == "$before" ]] || fail "SIG$sig changed the stored Options"
  if ls -A "$folder" | grep -q '^\.tmp-'; then fail "SIG$sig left a half-written value"; fi
done

on_terminal -window-id garbage
[[ $CODE -eq 255 ]] || fail "-window-id garbage exited $CODE"
grep -q 'not a window id: "garbage"' "$WORK/tty.out" || fail "no message for a garbage id"
on_terminal --window-id 0x7ffffff0
[[ $CODE -eq 255 ]] || fail "-window-id of no window exited $CODE"
grep -q "no X window" "$WORK/tty.out" || fail "no message for a window that does not exist"
# A preview with no window to draw in, the password mode this system keeps
# to itself, and an X-only feature on another video driver: a message each.
on_terminal /p
[[ $CODE -eq 255 ]] || fail "/p without a window exited $CODE"
grep -q "no window to draw the preview in" "$WORK/tty.out" || fail "no message for /p alone"
on_terminal /a
[[ $CODE -eq 255 ]] || fail "/a exited $CODE"
grep -q "changes the screen-saver password itself" "$WORK/tty.out" || fail "no message for /a"
(
  export SDL_VIDEODRIVER=dummy
  on_terminal -root
  [[ $CODE -eq 255 ]] || fail "-root on the dummy driver exited $CODE"
  grep -q -- "-root) needs X11, and SDL_VIDEODRIVER names another system" "$WORK/tty.out" ||
    fail "no message for -root on the dummy driver: $(cat "$WORK/tty.out")"
)
# Started by a machine (no terminal), the same mistake is silent.
set +e
quiet=$("$GRAZEFALL" --window-id=zz 2>&1)
code=$?
set -e
[[ $code -eq 255 && -z "$quiet" ]] || fail "without a terminal: exit $code, output '$quiet'"

# -window: an ordinary window; SIGTERM ends it at once with exit code 0. A
# seed for the herd out of range is named, and the time seeds it instead.
GRAZEFALL_SEED=4294967296 start_grazefall ordinary -window -fps
id=$(wait_window Grazefall) || fail "-window opened no window"
sleep 2
kill -TERM "$SAVER_PID"
wait_exit "$SAVER_PID" 2 || fail "SIGTERM did not end -window within 2 seconds"
[[ $EXIT_CODE -eq 0 ]] || fail "SIGTERM gave exit code $EXIT_CODE"
grep -q "GRAZEFALL_SEED must be a whole number from 0 to 4294967295, not '4294967296'" \
  "$WORK/ordinary.out" || fail "no message for a seed out of range: $(cat "$WORK/ordinary.out")"

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
