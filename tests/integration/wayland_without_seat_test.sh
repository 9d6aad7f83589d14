#!/usr/bin/env bash
# The saver where SDL's Wayland driver cannot start: weston's headless
# backend offers no input seat, on which SDL 2.26 crashes while starting.
# The saver asks the compositor first and refuses with the reason instead.
# With no X server either, what draws into X windows says it needs X11.
WAYLAND_TOOLS=weston
source "$(dirname "$0")/wayland_session.sh"

start_program weston weston --backend=headless-backend.so --socket=grazefall-weston \
  --width=800 --height=600 --idle-time=0
deadline=$((SECONDS + 30))
until [[ -S "$XDG_RUNTIME_DIR/grazefall-weston" ]]; do
  is_running "$LAST_PID" || skip "headless weston did not start: $(tail -3 "$WORK/weston.out")"
  ((SECONDS < deadline)) || skip "headless weston gave no socket within 30 s"
  sleep 0.1
done
export WAYLAND_DISPLAY=grazefall-weston

# Picked by itself (an empty SDL_VIDEODRIVER names none), and asked for.
for driver in "" wayland; do
  SDL_VIDEODRIVER=$driver run_in_terminal /s
  # 139 would be the crash (SIGSEGV).
  [[ $EXIT_CODE -eq 255 ]] || fail "/s (driver '$driver') exited $EXIT_CODE, not 255"
  [[ $OUTPUT == *"no input seat"* ]] || fail "/s (driver '$driver') said '$OUTPUT'"
done

# No compositor at all answers: a clear message too.
WAYLAND_DISPLAY=nowhere run_in_terminal /s
[[ $EXIT_CODE -eq 255 ]] || fail "/s with no compositor exited $EXIT_CODE, not 255"
[[ $OUTPUT == *"cannot open the display"* ]] || fail "/s with no compositor said '$OUTPUT'"

# Drawing into X windows needs X11, whatever the Wayland compositor.
for args in "-root" "-window-id 0x200001" "/p 12345"; do
  # shellcheck disable=SC2086
  run_in_terminal $args
  [[ $EXIT_CODE -eq 255 ]] || fail "'$args' without X exited $EXIT_CODE, not 255"
  [[ $OUTPUT == *"needs X11"* ]] || fail "'$args' without X said '$OUTPUT'"
done
echo "wayland without a seat: ok"
