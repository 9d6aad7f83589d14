# Shared by the Wayland integration scripts (sourced, not run): a headless
# sway of our own run by an unprivileged user (sway refuses root), with its
# own XDG_RUNTIME_DIR, helpers to run programs inside it, screenshots with
# grim, and cleanup of everything started here. No X server is reachable
# from inside: DISPLAY is unset.
#   GRAZEFALL   the program under test (first argument of each script)
#   the pointer tool (virtual_pointer_tool, second argument)
# Exits 77 (skipped) with the reason when the session cannot be had here.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/session_helpers.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/missing-package.sh"

SOURCE_PROGRAM=$(realpath "${1:?usage: $0 path/to/grazefall path/to/virtual_pointer_tool}")
SOURCE_POINTER_TOOL=$(realpath "${2:?usage: $0 path/to/grazefall path/to/virtual_pointer_tool}")
TEST_USER=grazefall-test

skip() {
  echo "SKIP: $*"
  exit 77
}

# The tools a script needs besides setpriv: WAYLAND_TOOLS, default sway's.
for tool in ${WAYLAND_TOOLS:-sway swaymsg grim wtype "$CONVERT"} setpriv script; do
  command -v "$tool" >/dev/null || skip "$(missing_tool_reason "$tool")"
done

WORK=$(mktemp -d /tmp/grazefall-wl.XXXXXX)
chmod 755 "$WORK"

# ctest's or timeout's SIGTERM ends the script through its cleanup too.
trap 'exit 143' TERM INT

# Root runs everything as TEST_USER (made here if missing); anyone else as
# themselves.
if [[ $(id -u) -eq 0 ]]; then
  if ! id "$TEST_USER" >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin "$TEST_USER" ||
      skip "cannot create the unprivileged user $TEST_USER"
  fi
  RUN_AS=(setpriv --reuid="$(id -u "$TEST_USER")" --regid="$(id -g "$TEST_USER")"
    --init-groups --)
  OWNER=$TEST_USER
else
  RUN_AS=()
  OWNER=$(id -un)
fi

# The program and everything the session writes live in WORK, owned by the
# user who runs it; the build tree may not be readable by that user.
GRAZEFALL="$WORK/grazefall"
POINTER_TOOL="$WORK/virtual_pointer_tool"
cp "$SOURCE_PROGRAM" "$GRAZEFALL"
cp "$SOURCE_POINTER_TOOL" "$POINTER_TOOL"
chmod 755 "$GRAZEFALL" "$POINTER_TOOL"
export HOME="$WORK/home"
export XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$WORK/shots"
chmod 700 "$XDG_RUNTIME_DIR"
chown "$OWNER" "$HOME" "$XDG_RUNTIME_DIR" "$WORK/shots"
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK XSCREENSAVER_WINDOW SDL_VIDEODRIVER XDG_CONFIG_HOME
unset XDG_SESSION_TYPE

# Runs a command as the session's user, in the foreground.
as_user() { "${RUN_AS[@]}" "$@"; }

# Starts a command as the session's user in the background; its pid in
# LAST_PID, output in $WORK/NAME.out.
start_program() {
  local name=$1
  shift
  # A plain command, not the function: its pid is the program's own, which
  # SIGTERM must reach.
  "${RUN_AS[@]}" "$@" >"$WORK/$name.out" 2>&1 &
  LAST_PID=$!
  STARTED_PIDS+=("$LAST_PID")
}

# A headless sway with one output drawn in memory, no bar, and title bars
# on ordinary windows (so a window that is not full screen shows one).
start_sway() {
  cat >"$WORK/sway.config" <<'EOF'
default_border normal
output * background #203040 solid_color
EOF
  chmod 644 "$WORK/sway.config"
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    start_program sway sway --config "$WORK/sway.config"
  SWAY_PID=$LAST_PID
  local i socket
  for i in $(seq 300); do
    is_running "$SWAY_PID" || skip "headless sway did not start: $(tail -3 "$WORK/sway.out")"
    socket=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'sway-ipc.*.sock' -print -quit)
    if [[ -n "$socket" ]] && [[ -S "$XDG_RUNTIME_DIR/wayland-1" || -S "$XDG_RUNTIME_DIR/wayland-0" ]]; then
      export SWAYSOCK=$socket
      if [[ -S "$XDG_RUNTIME_DIR/wayland-1" ]]; then
        export WAYLAND_DISPLAY=wayland-1
      else
        export WAYLAND_DISPLAY=wayland-0
      fi
      as_user swaymsg -t get_outputs >/dev/null 2>&1 && return 0
    fi
    sleep 0.1
  done
  skip "headless sway gave no socket within 30 s"
}

# Gives the seat a pointer that stays, as a desktop's does: devices that come
# and go with each motion reach a window only after it has asked for them,
# which may be too late.
hold_pointer() {
  start_program pointer "$POINTER_TOOL"
  local deadline=$((SECONDS + 10))
  until grep -q ready "$WORK/pointer.out" 2>/dev/null; do
    is_running "$LAST_PID" || skip "no virtual pointer here: $(tail -1 "$WORK/pointer.out")"
    ((SECONDS < deadline)) || skip "the virtual pointer did not come within 10 s"
    sleep 0.1
  done
}

# Gives the seat a keyboard with its keymap before a saver starts: a wtype
# that waits ten minutes before its one key. A key from a keyboard that
# joins and leaves at once may come before the saver has that keyboard
# (wayland_new_keyboard_test.sh has keyboards that join), and sway takes a
# new device as the seat's keyboard only while it has none, so each saver
# gets a fresh one after the previous key's device has gone.
hold_keyboard() {
  [[ -n "${KEYBOARD_PID:-}" ]] && kill "$KEYBOARD_PID" 2>/dev/null
  start_program keyboard wtype -s 600000 x
  KEYBOARD_PID=$LAST_PID
  # Pointer (1) and keyboard (2) in the seat.
  local deadline=$((SECONDS + 10))
  until as_user swaymsg -t get_seats -r | grep -q '"capabilities": *3'; do
    ((SECONDS < deadline)) || skip "the seat did not get a pointer and a keyboard within 10 s"
    sleep 0.1
  done
}

# Moves the seat's cursor by DX DY.
move_cursor() { as_user swaymsg -- seat - cursor move "$1" "$2" >/dev/null; }

# Runs the program under test as the session's user with a terminal for its
# standard error (it explains itself only to a person at one), at most 20 s;
# its output in OUTPUT, its exit code in EXIT_CODE.
run_in_terminal() {
  local line
  printf -v line '%q ' "$GRAZEFALL" "$@"
  set +e
  OUTPUT=$(as_user timeout -k 2 20 script -qec "$line" /dev/null 2>&1)
  EXIT_CODE=$?
  set -e
}

# The size of the first output, "WIDTHxHEIGHT".
output_size() {
  as_user swaymsg -t get_outputs -r |
    python3 -c 'import json,sys; o=json.load(sys.stdin)[0]["rect"]; print("%dx%d" % (o["width"], o["height"]))'
}

# The sway tree as JSON.
sway_tree() { as_user swaymsg -t get_tree -r; }

# Waits up to $2 seconds for a window whose title is $1 to be in the tree.
wait_sway_window() {
  local deadline=$((SECONDS + ${2:-30}))
  while ((SECONDS < deadline)); do
    sway_tree | grep -q "\"name\": *\"$1\"" && return 0
    sleep 0.1
  done
  return 1
}

# Takes a screenshot of the whole output to $1 (a PNG).
screenshot() {
  as_user grim "$WORK/shots/shot.png" || return 1
  cp "$WORK/shots/shot.png" "$1"
}


# How many different colours the picture has.
color_count() { "$CONVERT" "$1" -format %k info:-; }
