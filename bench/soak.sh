#!/bin/sh
# Soak: runs `grazefall --render DIR --no-frames --frames N` for Halloween and
# for Custom, both with exploding cows and tears of blood, and watches the
# process's resident memory (VmRSS in /proc/PID/status) once a second. For
# each it prints the resident size after the warm-up, at the end and at its
# peak, and whether the end is within 1 MiB of the size after the warm-up.
#
#   bench/soak.sh [FRAMES]        FRAMES defaults to 1000000
#
# Environment: GRAZEFALL (the program, default build/grazefall, else
# build/host/linux/main/grazefall), WARMUP (seconds before the start sample,
# default 10), SEED (default 1), MODE (display mode, default 800x600x16).
# The exit status is 1 when any run grew by more than 1 MiB or failed.
set -u

FRAMES=${1:-1000000}
WARMUP=${WARMUP:-10}
SEED=${SEED:-1}
MODE=${MODE:-800x600x16}
HERE=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${GRAZEFALL:-}" ]; then
  for candidate in "$HERE/build/grazefall" "$HERE/build/host/linux/main/grazefall"; do
    if [ -x "$candidate" ]; then GRAZEFALL=$candidate; break; fi
  done
fi
if [ -z "${GRAZEFALL:-}" ] || [ ! -x "$GRAZEFALL" ]; then
  echo "soak: no grazefall program; build it or set GRAZEFALL" >&2
  exit 2
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/grazefall-soak-XXXXXX")
CHILD=
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  if [ -n "$CHILD" ]; then kill "$CHILD" 2>/dev/null; wait "$CHILD" 2>/dev/null; fi
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The stored record for Custom: the Custom preset (2530 cows of random sizes,
# intro 2, conspiracy messages, inverted pyramid, wind 10 from the left), with
# exploding cows and tears of blood turned on.
mkdir -p "$WORK/config/grazefall"
python3 - "$WORK/config/grazefall/Options" <<'EOF' || exit 2
import struct, sys
record = struct.pack("<6i260s11i16sd",
                     2530, 4, 2, 1, 1, 0, b"", 0, 0, 4, 10, -1, 0,
                     1, 1,  # explodeCows, tearsOfBlood
                     800, 600, 16, b"Custom", 2.2)
assert len(record) == 352
open(sys.argv[1], "wb").write(record)
EOF

rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }

failed=0
# soak LABEL [ARG...]: one run, its samples and its verdict.
soak() {
  label=$1
  shift
  begin=$(date +%s)
  XDG_CONFIG_HOME="$WORK/config" "$GRAZEFALL" --render "$WORK/frames" --no-frames \
    --frames "$FRAMES" --seed "$SEED" --mode "$MODE" "$@" 2>"$WORK/$label.log" &
  CHILD=$!
  start=
  last=
  peak=0
  elapsed=0
  while sleep 1; do
    now=$(rss_kib "$CHILD")
    [ -n "$now" ] || break
    elapsed=$((elapsed + 1))
    last=$now
    [ "$now" -gt "$peak" ] && peak=$now
    if [ -z "$start" ] && [ "$elapsed" -ge "$WARMUP" ]; then start=$now; fi
  done
  wait "$CHILD"
  status=$?
  CHILD=
  seconds=$(($(date +%s) - begin))
  if [ "$status" -ne 0 ] || [ -z "$start" ]; then
    echo "$label: status $status after ${seconds}s (shorter than the ${WARMUP}s warm-up?)"
    tail -n 3 "$WORK/$label.log"
    failed=1
    return
  fi
  growth=$((last - start))
  verdict="within 1 MiB"
  if [ "$growth" -gt 1024 ] || [ "$growth" -lt -1024 ]; then
    verdict="NOT within 1 MiB"
    failed=1
  fi
  echo "$label: $FRAMES frames in ${seconds}s; RSS start ${start} KiB, end ${last} KiB," \
    "peak ${peak} KiB; end - start = ${growth} KiB: $verdict"
}

echo "soak: $GRAZEFALL, $FRAMES frames, mode $MODE, seed $SEED, warm-up ${WARMUP}s"
soak Halloween --scenario Halloween
soak Custom
exit $failed
