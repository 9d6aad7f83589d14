#!/usr/bin/env bash
# The preview inside another program's window: it gets a child window of its
# own over the parent's whole client area, so the picture lands pixel for
# pixel even while the parent keeps drawing, and it ends when the parent goes.
source "$(dirname "$0")/xvfb_session.sh"
start_xvfb

# xterm's text area (the child of its top-level window) plays the parent, and
# it never stops drawing: text scrolls through it all the time.
start_with_window xterm xterm xterm -T xterm -geometry 60x20+40+30 -bg white -fg black \
  -e yes grazefall-grazefall-grazefall || fail "xterm did not open"
XTERM_PID=$LAST_PID
sleep 0.5
top=$(xdotool search --name '^xterm$' | head -1)
parent=$(xwininfo -children -id "$top" | awk '/^ +0x/ { print $1; exit }')
[[ -n "$parent" ]] || fail "xterm has no text window"
parent=$((parent))
read -r x y < <(xwininfo -id "$parent" |
  awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')
read -r width height < <(xwininfo -id "$parent" |
  awk '/^ +Width:/ { w = $2 } /^ +Height:/ { h = $2 } END { print w, h }')

start_grazefall preview /p "$parent"
sleep 2
is_running "$SAVER_PID" || fail "the preview ended at once: $(cat "$WORK/preview.out")"
child=$(xwininfo -children -id "$parent" | awk '/^ +0x/ { print $1; exit }')
[[ -n "$child" ]] || fail "the preview made no child window inside the parent"
read -r child_width child_height < <(xwininfo -id "$child" |
  awk '/^ +Width:/ { w = $2 } /^ +Height:/ { h = $2 } END { print w, h }')
[[ "$child_width x $child_height" == "$width x $height" ]] ||
  fail "the preview child is ${child_width}x$child_height, the parent's client area ${width}x$height"
import -window root "$WORK/preview.png"
"$CONVERT" "$WORK/preview.png" -crop "155x117+$x+$y" +repage "$WORK/painted.png"
"$CONVERT" "$GRAZEFALL_SOURCE_DIR/resources/bitmaps/134-preview.bmp" "$WORK/expected.png"
differing=$(compare -metric AE "$WORK/painted.png" "$WORK/expected.png" null: 2>&1 || true)
[[ "$differing" == 0 ]] || fail "the preview picture differs in $differing pixels"
# Outside the picture the window is black, not xterm's white.
outside=$("$CONVERT" "$WORK/preview.png" -crop "20x20+$((x + 200))+$((y + 150))" +repage \
  -format '%[fx:maxima.r]' info:)
[[ "$outside" == 0 ]] || fail "the preview left the window's background unpainted"

kill "$XTERM_PID"
wait_exit "$SAVER_PID" 5 || fail "the preview outlived its parent window"
[[ $EXIT_CODE -eq 0 ]] || fail "the preview ended with exit code $EXIT_CODE"

# A handle that names no window, or none at all: -1 and no window.
for line in "/p 12345" "/p" "/p abc" "/l 4294967296"; do
  set +e
  # shellcheck disable=SC2086
  timeout 5 "$GRAZEFALL" $line
  code=$?
  set -e
  [[ $code -eq 255 ]] || fail "\"$line\" exited $code, not 255"
done
echo "preview: ok"
