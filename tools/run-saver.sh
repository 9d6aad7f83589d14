#!/usr/bin/env bash
# Starts the saver full screen with the stored options, or, on a machine with
# no display, says so and renders a short clip into out/ instead.
set -euo pipefail
program=${1:-build/grazefall}
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$program" /s
fi
echo "No display here (DISPLAY is not set): rendering 120 frames into out/ instead."
mkdir -p out
"$program" --render out --frames 120
echo "Frames are in out/ (frame-00001.png ...)."
