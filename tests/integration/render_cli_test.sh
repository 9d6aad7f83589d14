#!/usr/bin/env bash
# The headless renderer: a few frames of Halloween with a fixed seed give
# valid PNG files and one trace line per presented frame, a second run gives
# the same bytes, and a bad command line exits 2 with a one-line message.
# Small frames keep it cheap: each frame is a PNG to encode, twice, and to
# check.
set -euo pipefail

GRAZEFALL=${1:?usage: render_cli_test.sh PATH_TO_GRAZEFALL}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() {
  echo "render cli: FAIL: $*" >&2
  exit 1
}

STEPS=10
render() {
  local out=$1
  timeout --kill-after=5 200 "$GRAZEFALL" --render "$out" --frames "$STEPS" --scenario Halloween \
    --seed 5 --mode 320x240x16 --trace "$out/trace.jsonl" >"$WORK/render.out" 2>&1 ||
    fail "--render exited $?: $(cat "$WORK/render.out")"
}

render "$WORK/first"
mapfile -t pngs < <(find "$WORK/first" -name 'frame-*.png' | sort)
# The loading cow's frames come on top of the steps, each a PNG of its own.
((${#pngs[@]} >= STEPS)) || fail "only ${#pngs[@]} PNG files for $STEPS frames"
# Every file starts with the PNG signature (one process for them all: the
# loading cow alone gives hundreds of frames).
python3 - "${pngs[@]}" <<'PY' || fail "not every frame is a PNG file"
import sys
for path in sys.argv[1:]:
    with open(path, "rb") as png:
        if png.read(8) != b"\x89PNG\r\n\x1a\n":
            sys.exit(f"{path} is not a PNG file")
PY
# Numbered from 1 with no gap.
[[ "$(basename "${pngs[0]}")" == frame-00001.png ]] || fail "first frame is ${pngs[0]}"
last=$(printf 'frame-%05d.png' "${#pngs[@]}")
[[ "$(basename "${pngs[-1]}")" == "$last" ]] || fail "last frame is ${pngs[-1]}, not $last"

# One JSON object per presented frame, in order, with the documented keys;
# the last lines are the steps.
python3 - "$WORK/first/trace.jsonl" "${#pngs[@]}" "$STEPS" <<'PY' || fail "trace check failed"
import json, sys
path, frames, steps = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
lines = open(path, encoding="utf-8").read().splitlines()
if len(lines) != frames:
    sys.exit(f"{len(lines)} trace lines for {frames} frames")
keys = {"frame", "loading", "introPhase", "introStage", "introTicks", "ufo", "gust",
        "message", "sleepMs", "herd", "explosions", "tears"}
for number, line in enumerate(lines, 1):
    record = json.loads(line)
    missing = keys - record.keys()
    if missing:
        sys.exit(f"line {number} lacks {sorted(missing)}")
    if record["frame"] != number:
        sys.exit(f"line {number} is frame {record['frame']}")
if any(json.loads(line)["loading"] for line in lines[-steps:]):
    sys.exit(f"one of the last {steps} lines is marked as a loading frame")
PY

# Same seed, same options: the same bytes.
render "$WORK/second"
diff -r "$WORK/first" "$WORK/second" >/dev/null || fail "a second run gave different output"

# A bad command line: exit 2 and one line of explanation on stderr, nothing written.
bad_command() {
  set +e
  timeout --kill-after=5 60 "$GRAZEFALL" "$@" >"$WORK/bad.out" 2>"$WORK/bad.err"
  local code=$?
  set -e
  [[ $code -eq 2 ]] || fail "'$*' exited $code, not 2"
  [[ $(wc -l <"$WORK/bad.err") -eq 1 && -s "$WORK/bad.err" ]] ||
    fail "'$*' did not print a one-line message: $(cat "$WORK/bad.err")"
}
bad_command --render "$WORK/bad" --frames abc
grep -q -- "--frames" "$WORK/bad.err" || fail "the message does not name --frames"
bad_command --render "$WORK/bad" --frames 3 --scenario Nowhere
[[ ! -e "$WORK/bad" ]] || fail "a refused command line still made its directory"
echo "render cli: ok"
