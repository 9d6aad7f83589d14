#!/usr/bin/env bash
# XScreenSaver itself runs the program as a hack in its own window and shows
# the herd; deactivating it ends the hack at once.
source "$(dirname "$0")/xvfb_session.sh"
source "$(dirname "$0")/../../tools/missing-package.sh"
for tool in xscreensaver xscreensaver-command; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $(missing_tool_reason "$tool")"
    exit 77
  fi
done
start_xvfb

# XScreenSaver refuses to run as root: everything here runs as nobody, with a
# copy of the program in our own folder, since nobody may not be allowed into
# the build tree.
cp "$GRAZEFALL" "$WORK/grazefall"
chmod 755 "$WORK/grazefall"
GRAZEFALL="$WORK/grazefall"
# Only what the daemon needs from the environment, whatever the caller's holds.
as_nobody() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i HOME="$HOME" DISPLAY="$DISPLAY" PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 "$@"
}
cat >"$HOME/.xscreensaver" <<CONFIG
mode:		one
selected:	0
timeout:	0:30:00
lock:		False
splash:		False
fade:		False
unfade:		False
programs:	"Grazefall" $GRAZEFALL -root \n
CONFIG
chown -R nobody:nogroup "$HOME"

# Starts the daemon (its log ends in .out so that fail() shows it) and waits
# for it to answer: 0 when it does, 1 when it is still silent after 30 s (a
# busy machine), 2 when it has ended.
start_daemon() {
  as_nobody xscreensaver -no-splash -verbose >>"$WORK/xscreensaver.out" 2>&1 &
  local daemon=$! i
  STARTED_PIDS+=("$daemon")
  for i in $(seq 150); do
    as_nobody xscreensaver-command -version >/dev/null 2>&1 && return 0
    is_running "$daemon" || return 2
    sleep 0.2
  done
  return 1
}
# A daemon that ends before it answers is started again, twice at most.
answer=2
for attempt in 1 2 3; do
  answer=0
  start_daemon || answer=$?
  ((answer == 2)) || break
  echo "xscreensaver ended before it answered (attempt $attempt)" >&2
  sleep 1
done
((answer != 2)) || fail "xscreensaver ended before it answered, three times"
((answer == 0)) || fail "xscreensaver did not answer in 30 s"
activated=no
for attempt in 1 2 3; do
  if as_nobody xscreensaver-command -activate >/dev/null; then
    activated=yes
    break
  fi
  sleep 1
done
[[ $activated == yes ]] || fail "xscreensaver did not take the order to activate"

# The intro comes first; then the herd falls. Cow hide and cow nose colours.
found=no
for i in $(seq 90); do
  sleep 1
  import -window root "$WORK/shot.png" 2>/dev/null || continue
  hide=$(count_color "$WORK/shot.png" FAFAF6)
  nose=$(count_color "$WORK/shot.png" FFA0B2)
  if ((hide > 300 && nose > 40)); then
    found=yes
    seconds=$i
    break
  fi
done
hack=$(pgrep -u nobody -f "$GRAZEFALL" | head -1 || true)
[[ $found == yes ]] || fail "no cows on the screen after 90 s (hack pid '${hack}')"
[[ -n "$hack" ]] || fail "the cows are there but the hack is not running"

as_nobody xscreensaver-command -deactivate >/dev/null
for i in $(seq 30); do
  kill -0 "$hack" 2>/dev/null || break
  sleep 0.1
done
! kill -0 "$hack" 2>/dev/null || fail "the hack outlived the deactivation by 3 seconds"
echo "xscreensaver: ok (cows after ${seconds}s)"
