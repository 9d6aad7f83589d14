#!/usr/bin/env bash
# The preview inside another program's window: the picture lands in it pixel
# for pixel, and the preview ends when that window goes away.
source "$(dirname "$0")/xvfb_session.sh"
start_xvfb

# xterm's text area (the child of its top-level window) plays the parent.
start_with_window xterm xterm xterm -geometry 60x20+40+30 -bg white || fail "xterm did not open"
XTERM_PID=$LAST_PID
sleep 0.5
top=$(xdotool search --name '^xterm$' | head -1)
parent=$(xwininfo -children -id "$top" | awk '/^ +0x/ { print $1; exit }')
[[ -n "$parent" ]] || fail "xterm has no text window"
parent=$((parent))
read -r x y < <(xwininfo -id "$parent" |
  awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')

start_grazefall preview /p "$parent"
sleep 2
is_running "$SAVER_PID" || fail "the preview ended at once: $(cat "$WORK/preview.out")"
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
