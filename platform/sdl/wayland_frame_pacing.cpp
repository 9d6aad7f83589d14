#include "platform/sdl/wayland_frame_pacing.h"

#include <poll.h>
#include <wayland-client.h>

namespace grazefall::platform::sdl {
namespace {

void OnFrameDone(void* data, wl_callback* callback, uint32_t) {
  wl_callback_destroy(callback);
  *static_cast<wl_callback**>(data) = nullptr;
}

const wl_callback_listener kFrameListener{OnFrameDone};

}  // namespace

FramePacing::~FramePacing() {
  if (callback_ != nullptr) wl_callback_destroy(callback_);
}

void FramePacing::request(wl_surface* surface, uint32_t nowMs) {
  if (callback_ != nullptr) wl_callback_destroy(callback_);
  callback_ = wl_surface_frame(surface);
  requestedAt_ = nowMs;
  if (callback_ != nullptr) wl_callback_add_listener(callback_, &kFrameListener, &callback_);
}

void WaitForCompositor(wl_display* display, wl_event_queue* queue, int timeoutMs) {
  // What was read already for `queue` is handled without waiting.
  if (wl_display_prepare_read_queue(display, queue) != 0) {
    wl_display_dispatch_queue_pending(display, queue);
    return;
  }
  wl_display_flush(display);
  pollfd watched{wl_display_get_fd(display), POLLIN, 0};
  // A signal (SIGTERM) ends the wait early.
  // A connection that has gone is read too: libwayland then marks the
  // display failed, and nobody waits on it again.
  if (poll(&watched, 1, timeoutMs) > 0 && (watched.revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
    wl_display_read_events(display);
  } else {
    wl_display_cancel_read(display);
  }
  wl_display_dispatch_queue_pending(display, queue);
}

}  // namespace grazefall::platform::sdl
