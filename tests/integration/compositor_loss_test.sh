#!/usr/bin/env bash
# A compositor that goes away at any moment of the saver's start or run
# ends the saver within 3 s with a non-zero exit (1, or 255 when it had gone
# before the saver could ask it anything), never a crash or a spin; and a
# stop signal ends it with 0 even while a frozen compositor holds its start.
# Each case has a fresh headless sway, ended by SIGTERM as a logout ends it.
source "$(dirname "$0")/wayland_session.sh"

# A saver still running when the script ends (a failed case) is ended
# through its timeout, which kills it 2 s after passing SIGTERM on, before
# the cleanup kills timeout itself.
end_saver() {
  if [[ -n "${SAVER_PID:-}" ]] && is_running "$SAVER_PID"; then
    kill "$SAVER_PID" 2>/dev/null || true
    wait_exit "$SAVER_PID" 5 || true
  fi
}
trap 'end_saver; cleanup' EXIT

case_number=0
# A sway of its own for the next case, in a runtime folder of its own (the
# folder of an ended sway may keep its sockets; sway would take SWAYSOCK's
# path for its own).
fresh_sway() {
  case_number=$((case_number + 1))
  unset SWAYSOCK WAYLAND_DISPLAY
  export XDG_RUNTIME_DIR="$WORK/run$case_number"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  chown "$OWNER" "$XDG_RUNTIME_DIR"
  start_sway
  hold_pointer
  hold_keyboard
}

start_saver() {
  start_program "saver$case_number" timeout -k 2 30 env SDL_VIDEODRIVER=wayland "$GRAZEFALL" /s
  SAVER_PID=$LAST_PID
}

end_sway() {
  kill "$SWAY_PID" 2>/dev/null || true
  wait_exit "$SWAY_PID" 10 || fail "$1: sway did not end on SIGTERM"
}

# The saver must be gone within 3 s of the compositor, with 1 or 255.
expect_lost() {
  wait_exit "$SAVER_PID" 3 || fail "$1: the saver still runs 3 s after the compositor ended"
  [[ $EXIT_CODE -eq 1 || $EXIT_CODE -eq 255 ]] ||
    fail "$1: the saver exited $EXIT_CODE after the compositor ended, not 1 or 255"
  echo "$1: exit $EXIT_CODE"
}

# During the start, at moments after the program began: before it asked the
# compositor anything, while it makes its windows, while it shows them.
for delay in 0 0.1 0.2 0.3 0.5 0.8; do
  fresh_sway
  start_saver
  sleep "$delay"
  end_sway "ended $delay s after the start"
  expect_lost "ended $delay s after the start"
done

# With its window on the screen, during the first frames.
fresh_sway
start_saver
wait_sway_window "Screen Saver" 30 || fail "/s showed no window titled \"Screen Saver\""
end_sway "ended with the window just shown"
expect_lost "ended with the window just shown"

# While it runs: its frame on the screen. SDL itself asks to quit then, which
# alone would end the saver with 0.
fresh_sway
start_saver
wait_sway_window "Screen Saver" 30 || fail "/s showed no window titled \"Screen Saver\""
drawn=0
for i in $(seq 60); do
  sleep 0.5
  screenshot "$WORK/shot.png" || continue
  if (($(count_color "$WORK/shot.png" 203040) == 0 && $(color_count "$WORK/shot.png") > 8)); then
    drawn=1
    break
  fi
done
((drawn)) || fail "the saver drew nothing on the screen in 30 s"
is_running "$SAVER_PID" || fail "the saver ended on its own"
end_sway "ended while the saver ran"
expect_lost "ended while the saver ran"

# A frozen compositor holds the saver's start (it waits for an answer that
# does not come); SIGTERM and SIGINT end it all the same, with 0.
fresh_sway
kill -STOP "$SWAY_PID"
for signal in TERM INT; do
  start_saver
  sleep 1
  is_running "$SAVER_PID" || fail "the saver ended before SIG$signal, with the compositor frozen"
  kill -"$signal" "$SAVER_PID"
  wait_exit "$SAVER_PID" 3 || fail "SIG$signal did not end the saver held by a frozen compositor"
  [[ $EXIT_CODE -eq 0 ]] || fail "SIG$signal during the start: exit $EXIT_CODE, not 0"
  echo "SIG$signal during a frozen start: exit 0"
done
kill -CONT "$SWAY_PID"
echo "compositor loss: ok"
