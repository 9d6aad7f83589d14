// Pacing by the compositor's frame callbacks: a picture is committed with a
// request to be told when the compositor wants the next one, and no other
// is committed before it says so. A compositor that does not say so for a
// while is not showing the surface (its output is powered down, another
// workspace is shown, the session is locked): the surface counts as hidden
// until it does.
#pragma once

#include <cstdint>

struct wl_callback;
struct wl_display;
struct wl_event_queue;
struct wl_surface;

namespace grazefall::platform::sdl {

class FramePacing {
 public:
  // How long the compositor may take to ask for the next picture before the
  // surface counts as hidden: several frames of the slowest refresh rates.
  static constexpr uint32_t kHiddenAfterMs = 200;

  FramePacing() = default;
  ~FramePacing();
  FramePacing(const FramePacing&) = delete;
  FramePacing& operator=(const FramePacing&) = delete;

  // Asks to be told when the compositor wants the picture after the one
  // committed next on `surface`; `nowMs` on SDL's clock.
  void request(wl_surface* surface, uint32_t nowMs);
  // Whether a committed picture still waits for the compositor's word.
  bool waiting() const { return callback_ != nullptr; }
  bool hidden(uint32_t nowMs) const { return waiting() && nowMs - requestedAt_ >= kHiddenAfterMs; }

 private:
  wl_callback* callback_ = nullptr;
  uint32_t requestedAt_ = 0;
};

// Sleeps until the compositor sends anything (to SDL or to `queue`), a
// signal arrives or `timeoutMs` pass, then handles what came for `queue`.
void WaitForCompositor(wl_display* display, wl_event_queue* queue, int timeoutMs);

}  // namespace grazefall::platform::sdl
