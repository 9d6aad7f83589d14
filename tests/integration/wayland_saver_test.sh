#!/usr/bin/env bash
# The full-screen saver under a headless Wayland compositor, with no X server:
# it picks Wayland by itself, covers the output with no title bar, draws the
# herd, stays through small pointer motions, and ends on a key or a large
# motion with exit code 0; a second start finds it running; with two outputs
# both are covered.
source "$(dirname "$0")/wayland_session.sh"
start_sway
hold_pointer
size=$(output_size)
as_user swaymsg seat - cursor set $((${size%x*} / 2)) $((${size#*x} / 2)) >/dev/null

# The saver's window: full screen on the output, and nothing but its own
# frame on the screen (no sway background, no title bar colour).
start_saver() {
  hold_keyboard
  start_program "$1" "$GRAZEFALL" /s
  SAVER_PID=$LAST_PID
  wait_sway_window "Screen Saver" 30 || fail "$1: /s showed no window titled \"Screen Saver\""
  local deadline=$((SECONDS + 10)) view=""
  while ((SECONDS < deadline)); do
    view=$(sway_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("name") == "Screen Saver":
        r = node["rect"]
        print("%dx%d+%d+%d fullscreen=%d" % (r["width"], r["height"], r["x"], r["y"],
                                            node.get("fullscreen_mode", 0)))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))')
    [[ $view == "${size}+0+0 fullscreen=1" ]] && return 0
    sleep 0.1
  done
  fail "$1: the saver's window is '$view', not the whole ${size} output full screen"
}

start_saver key
# The herd: cow hide and cow nose colours, after the intro. The saver draws
# the whole output, so the sway background never shows, nor a title bar.
found=no
for i in $(seq 120); do
  sleep 0.5
  is_running "$SAVER_PID" || fail "the saver ended on its own"
  screenshot "$WORK/shot.png" || continue
  [[ $(count_color "$WORK/shot.png" 203040) -eq 0 ]] ||
    fail "the compositor's background shows beside the saver"
  [[ $(count_color "$WORK/shot.png" 285577) -eq 0 ]] || fail "a title bar shows over the saver"
  hide=$(count_color "$WORK/shot.png" FAFAF6)
  nose=$(count_color "$WORK/shot.png" FFA0B2)
  if ((hide > 300 && nose > 40)); then
    found=yes
    break
  fi
done
[[ $found == yes ]] || fail "no cows on the screen after 60 s"

# A second start finds the running saver and leaves at once.
set +e
as_user timeout -k 2 10 "$GRAZEFALL" /s
second=$?
set -e
[[ $second -eq 0 ]] || fail "a second /s exited $second, not 0"
is_running "$SAVER_PID" || fail "the second /s ended the first"

# Small motions back and forth (never more than a pixel from the start) are
# more than five moves, yet keep it.
for step in 1 2 3 4; do
  move_cursor 1 0
  move_cursor -1 0
  move_cursor 0 1
  move_cursor 0 -1
done
sleep 1
is_running "$SAVER_PID" || fail "small pointer motions ended the saver"

as_user wtype a
wait_exit "$SAVER_PID" 10 || fail "a key did not end the saver"
[[ $EXIT_CODE -eq 0 ]] || fail "ended by a key with exit code $EXIT_CODE"

# Once the small moves are spent, a motion of more than four pixels ends it.
start_saver motion
sleep 1
for step in 1 2 3; do
  move_cursor 1 0
  move_cursor -1 0
done
sleep 0.5
is_running "$SAVER_PID" || fail "six one-pixel motions ended the saver"
move_cursor 40 0
wait_exit "$SAVER_PID" 10 || fail "a motion of 40 pixels did not end the saver"
[[ $EXIT_CODE -eq 0 ]] || fail "ended by the pointer with exit code $EXIT_CODE"
# A second output gets a full-screen window of its own, showing the frame too.
as_user swaymsg create_output >/dev/null
start_program two-outputs "$GRAZEFALL" /s
SAVER_PID=$LAST_PID
expected=$(as_user swaymsg -t get_outputs -r | python3 -c '
import json, sys
for o in json.load(sys.stdin):
    r = o["rect"]
    print("%dx%d+%d+%d" % (r["width"], r["height"], r["x"], r["y"]))' | sort)
covered=""
deadline=$((SECONDS + 30))
while ((SECONDS < deadline)); do
  covered=$(sway_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("name") == "Screen Saver" and node.get("fullscreen_mode") == 1:
        r = node["rect"]
        print("%dx%d+%d+%d" % (r["width"], r["height"], r["x"], r["y"]))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))' | sort)
  [[ $covered == "$expected" ]] && break
  sleep 0.2
done
[[ $covered == "$expected" ]] || fail "full-screen windows on '${covered//$'\n'/ }', not on every output"
second_output=$(as_user swaymsg -t get_outputs -r | python3 -c 'import json,sys; print(json.load(sys.stdin)[1]["name"])')
drawn=0
deadline=$((SECONDS + 30))
while ((SECONDS < deadline)); do
  as_user grim -o "$second_output" "$WORK/shots/second.png" || continue
  if (($(count_color "$WORK/shots/second.png" 203040) == 0 &&
    $(color_count "$WORK/shots/second.png") > 8)); then
    drawn=1
    break
  fi
  sleep 0.5
done
((drawn)) || fail "the second output does not show the saver's frame"
kill "$SAVER_PID"
wait_exit "$SAVER_PID" 10 || fail "SIGTERM did not end the saver on two outputs"
[[ $EXIT_CODE -eq 0 ]] || fail "ended by SIGTERM with exit code $EXIT_CODE"
echo "wayland saver: ok"
