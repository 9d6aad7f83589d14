#!/usr/bin/env bash
# Opens XScreenSaver's own settings program on a private X display with
# Grazefall selected, opens its settings dialog, and saves a screenshot.
#   tools/screenshot-xscreensaver-settings.sh OUT.png [ROOT]
# ROOT is where the package's files are: / for an installed package (the
# default), or a folder the .deb was unpacked into (dpkg -x), which is then
# shown to xscreensaver-settings in a private mount namespace (needs root).
# Exits 0 with the screenshot made, 1 when the settings program complains
# about grazefall.xml or shows no Grazefall dialog, 77 when this machine lacks
# a tool it needs. Everything it starts ends with it.
set -euo pipefail
out=${1:?usage: $0 OUT.png [ROOT]}
root=$(realpath "${2:-/}")
config_dir=/usr/share/xscreensaver/config

skip() {
  echo "SKIP: $*"
  exit 77
}
for tool in Xvfb xdotool import xscreensaver-settings setpriv timeout; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[[ -f $root$config_dir/grazefall.xml ]] || skip "no $root$config_dir/grazefall.xml"
if [[ $root != / ]]; then
  [[ $(id -u) -eq 0 ]] || skip "showing an unpacked package to XScreenSaver needs root"
  unshare -m true 2>/dev/null || skip "no private mount namespace here (unshare -m)"
fi

work=$(mktemp -d /tmp/grazefall-xss.XXXXXX)
chmod 755 "$work"
started=()
cleanup() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  sleep 0.2
  for pid in "${started[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [[ -s $work/settings.err ]] && { echo "--- xscreensaver-settings said:" >&2; cat "$work/settings.err" >&2; }
  exit 1
}

# XScreenSaver lists the hacks of the user's "programs" list: the README's
# tool puts Grazefall first, and it is chosen as the only saver, so the
# settings open with it selected.
home="$work/home"
mkdir -p "$home"
cat >"$home/.xscreensaver" <<'CONFIG'
mode:		one
selected:	0
timeout:	0:10:00
lock:		False
programs:								      \
				abstractile -root			    \n
CONFIG
HOME="$home" "$(dirname "$0")/install-xscreensaver.sh" --list-only >/dev/null
grep -q '"Grazefall" grazefall --root' "$home/.xscreensaver" ||
  fail "install-xscreensaver.sh did not list Grazefall"

# The settings program reads its descriptions from one fixed folder: for an
# unpacked package, a private copy of that folder with grazefall.xml added is
# mounted over it, seen by this program alone.
run_settings=(timeout -k 2 120 setpriv --reuid=nobody --regid=nogroup --clear-groups
  env -i HOME="$home" PATH="$root/usr/bin:/usr/local/bin:/usr/bin:/bin" LANG=C.UTF-8)
if [[ $root != / ]]; then
  mkdir "$work/config"
  cp "$config_dir"/*.xml "$work/config/" 2>/dev/null || true
  cp "$root$config_dir/grazefall.xml" "$work/config/"
  chmod -R a+rX "$work/config"
  run_settings=(unshare -m sh -c 'mount --bind "$0" "$1" && shift && exec "$@"' "$work/config"
    "$config_dir" "${run_settings[@]}")
fi
chown -R nobody:nogroup "$home"

Xvfb -displayfd 3 -screen 0 1440x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.out" 2>&1 &
started+=($!)
for _ in $(seq 50); do
  [[ -s $work/display ]] && break
  sleep 0.1
done
[[ -s $work/display ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"
"${run_settings[@]}" DISPLAY="$DISPLAY" xscreensaver-settings >"$work/settings.out" \
  2>"$work/settings.err" &
started+=($!)

# Its windows, as "id WIDTHxHEIGHT name" lines, of those mapped on screen.
mapped_windows() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "$id $(xdotool getwindowgeometry "$id" | sed -n 's/.*Geometry: //p') $(xdotool getwindowname "$id")"
  done
}
wait_for() {
  local pattern=$1 i
  for i in $(seq $((${2:-30} * 10))); do
    mapped_windows | grep -E "$pattern" && return 0
    sleep 0.1
  done
  return 1
}

main=$(wait_for '^[0-9]+ [0-9]{4}x[0-9]+ ') || fail "xscreensaver-settings showed no window in 30 s"
# With no daemon on this display it offers to start one: decline.
if warning=$(wait_for ' Warning$' 10 | head -1); then
  id=${warning%% *}
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + WIDTH - 47)) $((Y + HEIGHT - 20)) click 1
  sleep 0.5
fi
main_id=${main%% *}
# Alt+S is the Settings... button of the main window.
xdotool mousemove 700 200
xdotool windowfocus "$main_id" key alt+s
# The main window bears the same name: the dialog is the other one.
wait_for_dialog() {
  local i found
  for i in $(seq 300); do
    found=$(mapped_windows | grep -E ' XScreenSaver: Grazefall Settings$' | grep -v "^$main_id " |
      head -1 || true)
    [[ -n $found ]] && echo "$found" && return 0
    sleep 0.1
  done
  return 1
}
dialog=$(wait_for_dialog) ||
  fail "no Grazefall settings dialog (windows: $(mapped_windows | tr '\n' ';'))"
# Without a window manager the dialog opens right of the screen: bring it in,
# over the right side of the main window.
dialog_id=${dialog%% *}
eval "$(xdotool getwindowgeometry --shell "$dialog_id")"
xdotool windowmove "$dialog_id" $((WIDTH < 1430 ? 1430 - WIDTH : 0)) \
  $((HEIGHT < 800 ? (800 - HEIGHT) / 2 : 0))
sleep 1
import -window root "$out"

if grep -i 'grazefall' "$work/settings.err"; then
  fail "xscreensaver-settings complained about Grazefall"
fi
echo "xscreensaver-settings: Grazefall's dialog shown, screenshot in $out"
