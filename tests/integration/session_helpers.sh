# Helpers shared by the session scripts (sourced, not run; each makes WORK
# before starting anything): cleanup of every program started, failing with
# their output, waiting for a process to end, and counting a colour in a
# screenshot.
CONVERT=/usr/bin/convert  # ImageMagick's; /usr/local/bin/convert may be another tool
STARTED_PIDS=()

cleanup() {
  local pid
  for pid in "${STARTED_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  sleep 0.2
  for pid in "${STARTED_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  if [[ -n ${WORK:-} ]]; then rm -rf "$WORK"; fi
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  local out
  for out in "$WORK"/*.out; do
    [[ -s "$out" ]] && { echo "--- $(basename "$out"):" >&2; tail -20 "$out" >&2; }
  done
  exit 1
}

# Waits up to $2 seconds for process $1 to end; its exit code in EXIT_CODE.
wait_exit() {
  local pid=$1 i
  for i in $(seq $((${2:-5} * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      set +e
      wait "$pid"
      EXIT_CODE=$?
      set -e
      return 0
    fi
    sleep 0.1
  done
  return 1
}

is_running() { kill -0 "$1" 2>/dev/null; }

# How many pixels of the picture have exactly the colour, e.g. "FAFAF6".
count_color() {
  "$CONVERT" "$1" -format %c histogram:info:- |
    awk -v c="#$2 " 'index($0, c) { gsub(":", "", $1); n += $1 } END { print n + 0 }'
}
