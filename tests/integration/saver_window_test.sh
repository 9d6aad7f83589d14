#!/usr/bin/env bash
# The full-screen saver under Xvfb: its window, what closes it and what does
# not, the single instance, and a refused mode.
source "$(dirname "$0")/xvfb_session.sh"
start_xvfb

# A key closes it with exit code 0.
start_with_window key "Screen Saver" "$GRAZEFALL" /s || fail "/s opened no window titled \"Screen Saver\""
SAVER_PID=$LAST_PID
id=$WINDOW_ID
geometry=$(xwininfo -id "$id" | awk '/-geometry/ { print $2 }')
[[ "$geometry" == 1024x768+0+0 ]] || fail "the saver window is $geometry, not the whole screen"
sleep 1
is_running "$SAVER_PID" || fail "the saver ended on its own"
# A second full-screen start finds the first one and leaves at once.
set +e
timeout 10 "$GRAZEFALL" /s
second=$?
set -e
[[ $second -eq 0 ]] || fail "a second /s exited $second, not 0"
is_running "$SAVER_PID" || fail "the second /s ended the first"
xdotool key a
wait_exit "$SAVER_PID" 5 || fail "a key did not close the saver"
[[ $EXIT_CODE -eq 0 ]] || fail "closed by a key with exit code $EXIT_CODE"
wait_no_window "Screen Saver" || fail "the closed saver's window stayed on the screen"

# A click closes it.
start_with_window click "Screen Saver" "$GRAZEFALL" /s || fail "no window for the click test"
SAVER_PID=$LAST_PID
sleep 1
xdotool click 1
wait_exit "$SAVER_PID" 5 || fail "a click did not close the saver"
[[ $EXIT_CODE -eq 0 ]] || fail "closed by a click with exit code $EXIT_CODE"
wait_no_window "Screen Saver" || fail "the closed saver's window stayed on the screen"

# Five real moves are allowed; the next one closes it.
start_with_window moves "Screen Saver" "$GRAZEFALL" /s || fail "no window for the mouse test"
SAVER_PID=$LAST_PID
sleep 1
for step in 1 2 3 4 5; do
  xdotool mousemove $((200 + step * 40)) 300
  sleep 0.3
done
sleep 0.5
is_running "$SAVER_PID" || fail "one of the first five mouse moves closed the saver"
xdotool mousemove 700 500
wait_exit "$SAVER_PID" 5 || fail "the sixth mouse move did not close the saver"
[[ $EXIT_CODE -eq 0 ]] || fail "closed by the mouse with exit code $EXIT_CODE"

# An unknown mode exits 255 (-1) at once, without a window.
set +e
timeout 5 "$GRAZEFALL" /x
code=$?
set -e
[[ $code -eq 255 ]] || fail "/x exited $code, not 255"
# A window of the saver's class and title stands for a running saver only
# while the process it names is alive: xterm plays it, first naming itself,
# then a process that has ended.
xterm -class WindowsScreenSaverClass -T "Screen Saver" -e sleep 600 >"$WORK/xterm.out" 2>&1 &
STARTED_PIDS+=($!)
impostor=$(wait_window "Screen Saver") || fail "the stand-in window did not open"
xprop -id "$impostor" -f _NET_WM_PID 32c -set _NET_WM_PID "$!"
set +e
timeout 10 "$GRAZEFALL" /s
code=$?
set -e
[[ $code -eq 0 ]] || fail "/s beside a live saver's window exited $code, not 0 at once"
sleep 0.2 &
ended=$!
wait "$ended"
xprop -id "$impostor" -f _NET_WM_PID 32c -set _NET_WM_PID "$ended"
start_grazefall stale /s
for i in $(seq 100); do
  (($(xdotool search --name '^Screen Saver$' 2>/dev/null | wc -l) >= 2)) && break
  is_running "$SAVER_PID" || fail "/s took a window of an ended process for a running saver"
  sleep 0.1
done
is_running "$SAVER_PID" || fail "/s beside an ended saver's window did not run"
echo "saver window: ok"
