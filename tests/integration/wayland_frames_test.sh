#!/usr/bin/env bash
# What the compositor shows is exactly the saver's frame after hundreds of
# pictures made of changed parts: the saver is asked (GRAZEFALL_HOLD_AFTER,
# GRAZEFALL_HELD_FRAME) to write the frame of its 300th picture and commit
# nothing after it, and a grim screenshot of the output must be that frame,
# pixel for pixel, as the saver scales it: unscaled (1024x768x32 on a
# 1024x768 output), enlarged and converted (800x600x16), and enlarged on a
# 1920x1080 output of scale 2, where the buffers have the output's own
# pixels (a compositor enlarging a frame itself would sample or blend its
# pixels its own way). Unscaled, the frames are drawn in the compositor's
# buffers themselves, not copied into them. While the
# compositor asks for no picture the saver draws none and runs no tick, and
# goes on once it asks again. Refused its own
# buffers, the saver says so once and still draws.
#   wayland_frames_test.sh GRAZEFALL POINTER_TOOL STORE_TOOL
source "$(dirname "$0")/wayland_session.sh"
STORE="$WORK/store_options_tool"
cp "$(realpath "${3:?usage: $0 grazefall virtual_pointer_tool store_options_tool}")" "$STORE"
chmod 755 "$STORE"
start_sway
hold_pointer
output=$(as_user swaymsg -t get_outputs -r | python3 -c 'import json,sys; print(json.load(sys.stdin)[0]["name"])')
as_user swaymsg output "$output" mode 1024x768 >/dev/null || fail "sway took no 1024x768 mode"

# Whether the screenshot $1 shows the frame $2 as the saver scales it: output
# pixel (x, y) is frame pixel (x * frame width / output width, likewise y),
# the aspect kept with black bars.
shows_frame() {
  "$CONVERT" "$1" -depth 8 "$WORK/shot.ppm" && "$CONVERT" "$2" -depth 8 "$WORK/frame.ppm" || return 2
  python3 - "$WORK/shot.ppm" "$WORK/frame.ppm" <<'PY'
import sys
def read(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    w, h = int(fields[1]), int(fields[2])
    return w, h, data[at + 1:at + 1 + w * h * 3]
sw, sh, shot = read(sys.argv[1])
fw, fh, frame = read(sys.argv[2])
if sw * fh <= sh * fw:
    vw, vh = sw, max(1, fh * sw // fw)
else:
    vw, vh = max(1, fw * sh // fh), sh
left, top = (sw - vw) // 2, (sh - vh) // 2
wrong = 0
for y in range(sh):
    for x in range(sw):
        inside = left <= x < left + vw and top <= y < top + vh
        if inside:
            fx, fy = (x - left) * fw // vw, (y - top) * fh // vh
            want = frame[(fy * fw + fx) * 3:(fy * fw + fx) * 3 + 3]
        else:
            want = b"\0\0\0"
        if shot[(y * sw + x) * 3:(y * sw + x) * 3 + 3] != want:
            if wrong < 3:
                print("pixel %d,%d is %s, not %s" % (x, y, shot[(y * sw + x) * 3:(y * sw + x) * 3 + 3].hex(), want.hex()))
            wrong += 1
print("%d of %d pixels differ (frame %dx%d, screenshot %dx%d)" % (wrong, sw * sh, fw, fh, sw, sh))
sys.exit(1 if wrong else 0)
PY
}

# How many of the saver's frame buffer mappings are BYTES bytes long.
mappings_of() {
  local range rest count=0
  while read -r range rest; do
    if [[ $rest == *memfd:grazefall-frames* ]] && ((16#${range#*-} - 16#${range%-*} == $2)); then
      count=$((count + 1))
    fi
  done <"/proc/$1/maps"
  echo "$count"
}

# The smallest buffer the saver made, as WxH, from a WAYLAND_DEBUG log.
smallest_buffer() {
  grep -ao 'create_buffer(new id wl_buffer@[0-9]*, [0-9]*, [0-9]*, [0-9]*' "$1" |
    awk -F', ' '{ print $3 * $4, $3 "x" $4 }' | sort -n | awk 'NR == 1 { print $2 }'
}

# The most buffers one surface was given, from a WAYLAND_DEBUG log.
most_buffers_of_a_surface() {
  grep -ao 'wl_surface@[0-9]*\.attach(wl_buffer@[0-9]*' "$1" | sort -u | cut -d. -f1 | uniq -c |
    sort -rn | awk 'NR == 1 { print $1 }'
}

# Runs SCENARIO at MODE on an output of SCALE (default 1) until its held
# frame is written; then compares. The window's own surface holds one black
# pixel at that scale. With DRAWN_IN, the frames must have been drawn in the
# compositor's buffers themselves: three of a frame's size taking turns on
# the saver's surface.
check_held() {
  local scenario=$1 mode=$2 drawn_in=${3:-} scale=${4:-1} name="$1-$2"
  local config="$WORK/config-$name" held="$WORK/shots/held-$name.bmp"
  mkdir -p "$config"
  chown "$OWNER" "$config"
  as_user "$STORE" "$config/grazefall" "$scenario" "$mode" >/dev/null || fail "could not store $mode"
  hold_keyboard
  start_program "$name" env XDG_CONFIG_HOME="$config" GRAZEFALL_HOLD_AFTER=300 \
    GRAZEFALL_HELD_FRAME="$held" WAYLAND_DEBUG=client "$GRAZEFALL" /s
  local saver=$LAST_PID deadline=$((SECONDS + 60))
  until [[ -s $held ]]; do
    is_running "$saver" || fail "$name: the saver ended before its 300th picture"
    ((SECONDS < deadline)) || fail "$name: no held frame within 60 s"
    sleep 0.2
  done
  # The compositor draws the last picture at its next frame.
  sleep 1
  screenshot "$WORK/shot-$name.png" || fail "$name: grim took no screenshot"
  grep -q "cannot be used here" "$WORK/$name.out" && fail "$name: the saver fell back to SDL's surface"
  local backdrop
  backdrop=$(smallest_buffer "$WORK/$name.out")
  [[ $backdrop == "${scale}x${scale}" ]] ||
    fail "$name: the window's own surface has a ${backdrop:-missing} buffer, not ${scale}x${scale}"
  if [[ -n $drawn_in ]]; then
    local size=${mode%x*} buffers turns
    buffers=$(mappings_of "$saver" $((${size%x*} * ${size#*x} * 4)))
    turns=$(most_buffers_of_a_surface "$WORK/$name.out")
    [[ $buffers == 3 && $turns == 3 ]] ||
      fail "$name: $buffers buffers of the frame's size and $turns taking turns, not 3 and 3"
  fi
  local verdict
  verdict=$(shows_frame "$WORK/shot-$name.png" "$held") ||
    fail "$name: the screen is not the held frame: $verdict"
  echo "$name: $verdict"
  kill "$saver"
  wait_exit "$saver" 10 || fail "$name: SIGTERM did not end the saver"
}

check_held Classic 1024x768x32 drawn-in
check_held Custom 800x600x16
# A compositor that asks for no picture (stopped here: the headless outputs
# of wlroots 0.15 cannot be powered off or disabled, and switching the
# saver's workspace away takes its focus, which ends it) gets none, and no tick runs meanwhile: the frame
# count stands still until it asks again, and then moves on.
frames_shown() { grep -a '^grazefall-frames: ' "$WORK/paced.out" | tail -1 | cut -d' ' -f2; }
hold_keyboard
start_program paced env GRAZEFALL_FRAME_STATS=1 "$GRAZEFALL" /s
saver=$LAST_PID
sleep 3
kill -STOP "$SWAY_PID"
sleep 1.5
stopped_at=$(frames_shown)
sleep 2.5
still_at=$(frames_shown)
kill -CONT "$SWAY_PID"
sleep 2
is_running "$saver" || fail "paced: the saver ended while the compositor was stopped"
resumed_at=$(frames_shown)
[[ -n $stopped_at && $stopped_at == "$still_at" ]] ||
  fail "paced: frames went on from $stopped_at to $still_at while nothing was asked for"
((resumed_at > still_at)) || fail "paced: no frame after the compositor asked again ($resumed_at)"
echo "paced: frames stood at $stopped_at while the compositor asked for none, then reached $resumed_at"
kill "$saver"
wait_exit "$saver" 10 || fail "paced: SIGTERM did not end the saver"

as_user swaymsg output "$output" scale 2 >/dev/null || fail "sway took no scale 2"
as_user swaymsg output "$output" mode 1920x1080 >/dev/null || fail "sway took no 1920x1080 mode"
check_held Halloween 1024x768x32 "" 2

# Without our own buffers (refused here on purpose) the saver says so once
# and shows its frames SDL's way.
hold_keyboard
start_program fallback env GRAZEFALL_WAYLAND_SHM=0 "$GRAZEFALL" /s
saver=$LAST_PID
drawn=no
for _ in $(seq 60); do
  sleep 0.5
  is_running "$saver" || fail "fallback: the saver ended on its own"
  screenshot "$WORK/fallback.png" || continue
  if (($(count_color "$WORK/fallback.png" 203040) == 0 && $(color_count "$WORK/fallback.png") > 8)); then
    drawn=yes
    break
  fi
done
[[ $drawn == yes ]] || fail "fallback: nothing drawn within 30 s"
said=$(grep -c "cannot be used here" "$WORK/fallback.out")
[[ $said -eq 1 ]] || fail "fallback: said $said times that our buffers cannot be used, not once"
kill "$saver"
wait_exit "$saver" 10 || fail "fallback: SIGTERM did not end the saver"
echo "wayland frames: ok"
