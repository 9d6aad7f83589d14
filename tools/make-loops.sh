#!/usr/bin/env bash
# Renders the README's loops: a few seconds of each scenario at 320x240 as a
# looping GIF in docs/loops/<scenario>.gif, each under 1 MB.
#   tools/make-loops.sh [PATH_TO_GRAZEFALL] [OUTPUT_DIRECTORY]
# The scenarios' presets are used, whatever the settings of the user running
# it: the render reads an empty settings directory. Each line picks a seed
# and the steps to keep (10 ms each): Classic shows the end of its saucer
# intro and the first cows; the crowded scenarios keep every 3rd or 4th step
# (shown at 30 or 40 ms) so that the file stays small.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
grazefall=${1:-$here/build/grazefall}
out=${2:-$here/docs/loops}
limit=$((1024 * 1024))

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

#        scenario  seed first-step last-step every-nth
loops=(
  "classic   11   300  900  2"
  "invasion  22   100  500  2"
  "halloween 33   1    240  3"
  "custom    44   1    200  4"
)
for loop in "${loops[@]}"; do
  read -r scenario seed first last step <<<"$loop"
  XDG_CONFIG_HOME="$work/config" timeout -k 5 300 "$grazefall" --render "$work/frames" \
    --no-frames --frames "$last" --seed "$seed" --scenario "$scenario" --mode 320x240x16 \
    --gif "$out/$scenario.gif" --gif-from "$first" --gif-step "$step" 2>/dev/null
  size=$(stat -c %s "$out/$scenario.gif")
  echo "make-loops: $out/$scenario.gif, $size bytes"
  if ((size >= limit)); then
    echo "make-loops: $scenario.gif is 1 MB or more; keep fewer steps" >&2
    exit 1
  fi
done
