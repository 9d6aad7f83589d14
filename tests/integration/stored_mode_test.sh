#!/usr/bin/env bash
# A stored mode the X screen does not list still shows the herd: the frame is
# drawn in the stored mode and scaled into the 1024x768 screen, letterboxed
# when the shapes differ. Exits 77 (skipped) without Xvfb.
#   stored_mode_test.sh GRAZEFALL STORE_OPTIONS_TOOL
command -v Xvfb >/dev/null || {
  echo "skipped: Xvfb is not installed"
  exit 77
}
source "$(dirname "$0")/xvfb_session.sh"
STORE_TOOL=$(realpath "${2:?usage: $0 grazefall store_options_tool}")
start_xvfb 1024x768x24

# Pixel counts of a screenshot's columns [from, to): all of them, and those
# as bright as a cow's hide in any of the four depths.
bright_and_lit() {
  "$CONVERT" "$1" -crop "$(($3 - $2))x768+$2+0" +repage -format %c histogram:info:- |
    awk 'function digit(c) { return index("0123456789ABCDEF", c) - 1 }
    function byte(h) { return digit(substr(h, 1, 1)) * 16 + digit(substr(h, 2, 1)) }
    {
      n = $1; sub(":", "", n)
      if (match($0, /#[0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]/)) {
        hex = toupper(substr($0, RSTART + 1, 6))
        r = byte(substr(hex, 1, 2)); g = byte(substr(hex, 3, 2)); b = byte(substr(hex, 5, 2))
        if (r >= 224 && g >= 224 && b >= 224) bright += n
        if (r + g + b > 0) lit += n
      }
    } END { print bright + 0, lit + 0 }'
}

# mode  left edge of the frame on the screen (bars on both sides beyond it)
for case in "800x600x16 0" "640x480x8 0" "1280x1024x32 32"; do
  read -r mode edge <<<"$case"
  export XDG_CONFIG_HOME="$WORK/config-$mode"
  "$STORE_TOOL" "$XDG_CONFIG_HOME/grazefall" Invasion "$mode" || fail "cannot store $mode"
  start_with_window "saver-$mode" "Screen Saver" "$GRAZEFALL" /s ||
    fail "$mode: /s opened no window titled \"Screen Saver\""
  SAVER_PID=$LAST_PID
  shown=0
  # The herd, not the one cow shown while it is built (about 600 such pixels).
  for attempt in $(seq 60); do
    sleep 0.5
    is_running "$SAVER_PID" || fail "$mode: the saver ended"
    import -window root "$WORK/shot.png" 2>/dev/null || continue
    read -r bright lit <<<"$(bright_and_lit "$WORK/shot.png" "$edge" $((1024 - edge)))"
    if ((bright > 3000)); then
      shown=1
      break
    fi
  done
  ((shown)) || fail "$mode: no herd on the screen after 30 s (bright pixels: $bright, lit: $lit)"
  if ((edge > 0)); then
    read -r _ left <<<"$(bright_and_lit "$WORK/shot.png" 0 "$edge")"
    read -r _ right <<<"$(bright_and_lit "$WORK/shot.png" $((1024 - edge)) 1024)"
    ((left == 0 && right == 0)) || fail "$mode: the bars beside the frame are not black"
  fi
  # The herd moves: a later screenshot differs.
  sleep 0.5
  import -window root "$WORK/later.png" 2>/dev/null || fail "$mode: no second screenshot"
  difference=$("$CONVERT" "$WORK/shot.png" "$WORK/later.png" -compose difference -composite \
    -format '%[fx:mean>0]' info:)
  [[ $difference == 1 ]] || fail "$mode: the screen stood still"
  kill "$SAVER_PID"
  wait_exit "$SAVER_PID" 5 || fail "$mode: SIGTERM did not end the saver"
  wait_no_window "Screen Saver" || fail "$mode: the saver's window stayed"
  echo "$mode: herd shown"
done
echo "stored mode: ok"
