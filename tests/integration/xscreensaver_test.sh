#!/usr/bin/env bash
# XScreenSaver itself runs the program as a hack in its own window and shows
# the herd; deactivating it ends the hack at once.
source "$(dirname "$0")/xvfb_session.sh"
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

# Its log ends in .out so that fail() shows it.
as_nobody xscreensaver -no-splash -verbose >"$WORK/xscreensaver.out" 2>&1 &
daemon=$!
STARTED_PIDS+=("$daemon")
# A busy machine may take a while to bring the daemon up.
for i in $(seq 150); do
  as_nobody xscreensaver-command -version >/dev/null 2>&1 && break
  is_running "$daemon" || fail "xscreensaver ended before it answered"
  sleep 0.2
done
as_nobody xscreensaver-command -activate >/dev/null || fail "xscreensaver did not answer in 30 s"

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
