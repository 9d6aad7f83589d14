#!/usr/bin/env bash
# Two monitors side by side on a real X server (Xorg with the dummy driver,
# two RandR outputs of 1280x720): the saver shows the herd on each monitor,
# out to the outer third of both, the focus moves between its windows without
# ending it, it keeps running when one monitor is switched off, and a key
# ends it with 0. Exits 77 (skipped, with the reason) where
# Xorg or its dummy driver is missing or the server cannot start.
# GRAZEFALL_SHOTS, when set, is a folder that keeps each monitor's screenshot.
#   dual_monitor_test.sh GRAZEFALL STORE_OPTIONS_TOOL
skip() {
  echo "skipped: $*"
  exit 77
}
source "$(dirname "$0")/../../tools/missing-package.sh"
command -v Xorg >/dev/null || skip "$(missing_package_reason xserver-xorg-core)"
command -v xrandr >/dev/null || skip "xrandr is not installed"
[[ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]] || skip "$(missing_package_reason xserver-xorg-video-dummy)"
source "$(dirname "$0")/xvfb_session.sh"
STORE_TOOL=$(realpath "${2:?usage: $0 grazefall store_options_tool}")
WIDTH=1280
HEIGHT=720

# Xorg picks a free display number and writes it to fd 3; its log stays here.
cp "$(dirname "$0")/dual_monitor_xorg.conf" "$WORK/xorg.conf"
Xorg -displayfd 3 -config "$WORK/xorg.conf" -noreset -nolisten tcp -logfile "$WORK/xorg.log" \
  3>"$WORK/display" >"$WORK/xorg.out" 2>&1 &
XORG_PID=$!
STARTED_PIDS+=("$XORG_PID")
for _ in $(seq 150); do
  [[ -s "$WORK/display" ]] && break
  is_running "$XORG_PID" || break
  sleep 0.1
done
[[ -s "$WORK/display" ]] ||
  skip "Xorg did not start: $(grep -h '(EE)' "$WORK/xorg.log" "$WORK/xorg.out" 2>/dev/null | tail -3)"
DISPLAY=":$(head -1 "$WORK/display")"
export DISPLAY
if ! xrandr --addmode DUMMY1 ${WIDTH}x${HEIGHT} ||
  ! xrandr --output DUMMY1 --mode ${WIDTH}x${HEIGHT} --right-of DUMMY0; then
  skip "the dummy driver gave no second output: $(xrandr 2>&1 | head -3)"
fi
monitors=$(xrandr --listmonitors | awk 'NR == 1 { print $2 }')
[[ $monitors == 2 ]] || fail "xrandr lists $monitors monitors, not 2"

export XDG_CONFIG_HOME="$WORK/config"
"$STORE_TOOL" "$XDG_CONFIG_HOME/grazefall" Halloween ${WIDTH}x${HEIGHT}x32 ||
  fail "cannot store the options"

# Pixels as bright as a cow's hide in columns [from, to) of a monitor's
# screenshot.
bright() {
  "$CONVERT" "$1" -crop "$(($3 - $2))x${HEIGHT}+$2+0" +repage -format %c histogram:info:- |
    awk 'function digit(c) { return index("0123456789ABCDEF", c) - 1 }
    function byte(h) { return digit(substr(h, 1, 1)) * 16 + digit(substr(h, 2, 1)) }
    {
      n = $1; sub(":", "", n)
      if (match($0, /#[0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]/)) {
        hex = toupper(substr($0, RSTART + 1, 6))
        if (byte(substr(hex, 1, 2)) >= 224 && byte(substr(hex, 3, 2)) >= 224 &&
            byte(substr(hex, 5, 2)) >= 224) bright += n
      }
    } END { print bright + 0 }'
}
# Monitor $1 (0: left, 1: right) into $2.
shoot() {
  import -window root -crop "${WIDTH}x${HEIGHT}+$(($1 * WIDTH))+0" +repage "$2" 2>/dev/null
}

start_with_window saver "Screen Saver" "$GRAZEFALL" /s || fail "/s opened no window titled \"Screen Saver\""
SAVER_PID=$LAST_PID
# One window on each monitor, covering it exactly.
lefts=""
for id in $(xdotool search --name '^Screen Saver$'); do
  read -r x y w h <<<"$(xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $NF }
    /Absolute upper-left Y/ { y = $NF } /Width:/ { w = $NF } /Height:/ { h = $NF }
    END { print x, y, w, h }')"
  [[ "$y $w $h" == "0 $WIDTH $HEIGHT" ]] || fail "a saver window is ${w}x${h} at $x,$y"
  lefts="$lefts $x"
done
[[ $(tr ' ' '\n' <<<"$lefts" | sort -n | xargs) == "0 $WIDTH" ]] ||
  fail "the saver's windows start at x =$lefts, not at 0 and $WIDTH"

# The herd on both monitors, out to the outer third of each (the left third
# of the left monitor, the right third of the right one). Cows stand apart,
# so a few screenshots may be needed before each part shows one.
third=$((WIDTH / 3))
seen_left=0 seen_right=0 seen_outer_left=0 seen_outer_right=0
for _ in $(seq 60); do
  sleep 0.5
  is_running "$SAVER_PID" || fail "the saver ended"
  shoot 0 "$WORK/left.png" && shoot 1 "$WORK/right.png" || continue
  (($(bright "$WORK/left.png" 0 $WIDTH) > 1000)) && seen_left=1
  (($(bright "$WORK/right.png" 0 $WIDTH) > 1000)) && seen_right=1
  (($(bright "$WORK/left.png" 0 $third) > 200)) && seen_outer_left=1
  (($(bright "$WORK/right.png" $((WIDTH - third)) $WIDTH) > 200)) && seen_outer_right=1
  ((seen_left && seen_right && seen_outer_left && seen_outer_right)) && break
done
((seen_left)) || fail "no herd on the left monitor"
((seen_right)) || fail "no herd on the right monitor"
((seen_outer_left)) || fail "the outer third of the left monitor stayed without cows"
((seen_outer_right)) || fail "the outer third of the right monitor stayed without cows"
if [[ -n ${GRAZEFALL_SHOTS:-} ]]; then
  mkdir -p "$GRAZEFALL_SHOTS"
  cp "$WORK/left.png" "$GRAZEFALL_SHOTS/monitor-left.png"
  cp "$WORK/right.png" "$GRAZEFALL_SHOTS/monitor-right.png"
fi

# The keyboard focus moving from one of the saver's windows to the other is
# no other program taking it.
for id in $(xdotool search --name '^Screen Saver$') $(xdotool search --name '^Screen Saver$'); do
  xdotool windowfocus "$id" || fail "cannot give the focus to window $id"
  sleep 0.5
  is_running "$SAVER_PID" || fail "the focus moving between the saver's windows ended it"
done

# The right monitor switched off: the saver goes on on the left one.
xrandr --output DUMMY1 --off || fail "xrandr could not switch DUMMY1 off"
sleep 2
is_running "$SAVER_PID" || fail "the saver ended when a monitor was switched off"
shoot 0 "$WORK/before.png" || fail "no screenshot after the monitor went off"
sleep 0.5
shoot 0 "$WORK/after.png" || fail "no second screenshot after the monitor went off"
difference=$("$CONVERT" "$WORK/before.png" "$WORK/after.png" -compose difference -composite \
  -format '%[fx:mean>0]' info:)
[[ $difference == 1 ]] || fail "the left monitor stood still once the right one was off"
[[ -n ${GRAZEFALL_SHOTS:-} ]] && cp "$WORK/after.png" "$GRAZEFALL_SHOTS/monitor-left-alone.png"

# A key ends it with 0.
xdotool key a
wait_exit "$SAVER_PID" 5 || fail "a key did not close the saver"
[[ $EXIT_CODE -eq 0 ]] || fail "closed by a key with exit code $EXIT_CODE"
echo "dual monitor: ok"
