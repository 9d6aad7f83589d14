#!/usr/bin/env bash
# A keyboard that joins the seat while the saver runs, where there was none
# before: a virtual one (wtype), whose keymap names no layout.
# - One joins with a key already held, which crashed SDL's Wayland keyboard
#   code (exit 139). Whether the press reaches the saver depends on whether
#   the saver had bound the new keyboard before wtype pressed it: if it did,
#   the key ends the saver; if not, the saver runs on while the key is held
#   and ends when the keyboard leaves, taking its focus away. Either way the
#   saver ends with 0, and never by a crash.
# - Another types a key a moment after it joined: that key ends the saver
#   with 0, while the keyboard is still there.
source "$(dirname "$0")/wayland_session.sh"
start_sway
hold_pointer

# Starts the saver, waits until it draws and the seat has no keyboard.
start_saver() {
  start_program "$1" timeout -k 2 60 "$GRAZEFALL" /s
  SAVER_PID=$LAST_PID
  wait_sway_window "Screen Saver" 30 || fail "$1: /s showed no window titled \"Screen Saver\""
  sleep 2
  is_running "$SAVER_PID" || fail "$1: the saver ended before the keyboard came"
  local deadline=$((SECONDS + 10))
  until as_user swaymsg -t get_seats -r | grep -q '"capabilities": *1\b'; do
    ((SECONDS < deadline)) || fail "$1: the seat still has a keyboard"
    sleep 0.1
  done
}

# Ends with 0 within 10 s; 139 would be the crash (SIGSEGV).
expect_ended() {
  wait_exit "$SAVER_PID" 10 || fail "$1: the saver did not end"
  [[ $EXIT_CODE -eq 0 ]] || fail "$1: the saver exited $EXIT_CODE, not 0"
}

start_saver held
start_program held-keyboard wtype -P x -s 3000 -p x
held=$LAST_PID
expect_ended "a keyboard that joined with a key held"
if is_running "$held"; then
  echo "joined with a key held: the key reached the saver, exit 0"
else
  echo "joined with a key held: ran on, exit 0 when the keyboard left"
fi

start_saver typed
start_program typing-keyboard wtype -s 1500 x -s 10000
typing=$LAST_PID
expect_ended "a key typed after the keyboard joined"
is_running "$typing" || fail "the saver ended only when the keyboard left, not on its key"
echo "a key after joining: exit 0"
echo "wayland new keyboard: ok"
