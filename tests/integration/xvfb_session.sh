# Shared by the integration scripts (sourced, not run): a private Xvfb, a
# private HOME, helpers to wait for windows and processes and to read
# screenshots, and cleanup of everything started here.
#   GRAZEFALL   the program under test (first argument of each script)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/session_helpers.sh"

GRAZEFALL=$(realpath "${1:?usage: $0 path/to/grazefall}")
WORK=$(mktemp -d /tmp/grazefall-it.XXXXXX)
chmod 755 "$WORK"
export HOME="$WORK/home"
mkdir -p "$HOME"
unset XSCREENSAVER_WINDOW SDL_VIDEODRIVER XDG_CONFIG_HOME

# A display of our own: Xvfb picks a free number and writes it to fd 3.
start_xvfb() {
  # -noreset: the server stays as it is when its last client leaves, so a
  # client starting just then is not turned away by a server resetting.
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset 3>"$WORK/display" \
    >"$WORK/xvfb.out" 2>&1 &
  STARTED_PIDS+=($!)
  local i
  for i in $(seq 50); do
    [[ -s "$WORK/display" ]] && break
    sleep 0.1
  done
  [[ -s "$WORK/display" ]] || fail "Xvfb did not start"
  export DISPLAY=":$(head -1 "$WORK/display")"
}

# Starts a command in the background; its pid in LAST_PID, output in $WORK/NAME.out.
start_program() {
  local name=$1
  shift
  "$@" >"$WORK/$name.out" 2>&1 &
  LAST_PID=$!
  STARTED_PIDS+=("$LAST_PID")
}

# Starts the program under test; its pid in SAVER_PID, output in $WORK/NAME.out.
start_grazefall() {
  local name=$1
  shift
  start_program "$name" "$GRAZEFALL" "$@"
  SAVER_PID=$LAST_PID
}

# Waits up to $2 seconds (default 30: a loaded machine starts slowly) for a
# window named exactly $1; prints its id.
wait_window() {
  local i id
  for i in $(seq $((${2:-30} * 10))); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1 || true)
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Starts a command like start_program and waits for its window named
# exactly $2, whose id goes to WINDOW_ID. Now and then an X client here gets no
# window at all (xterm too), so a start without one is reported on stderr and
# made again, three times at most.
start_with_window() {
  local name=$1 title=$2 attempt id
  shift 2
  for attempt in 1 2 3; do
    start_program "$name" "$@"
    if id=$(wait_window "$title"); then
      WINDOW_ID=$id
      return 0
    fi
    kill "$LAST_PID" 2>/dev/null || true
    echo "attempt $attempt of '$*' showed no window: $(tail -3 "$WORK/$name.out")" >&2
    sleep 1
  done
  return 1
}

# Waits up to $2 seconds (default 5) until no window is named exactly $1: the
# X server removes an ended program's windows a moment after it has gone.
wait_no_window() {
  local i
  for i in $(seq $((${2:-5} * 10))); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

