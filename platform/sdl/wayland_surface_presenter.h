// Shows frames in one SDL window on Wayland through buffers of our own: a
// sub-surface over the window's own surface gets our shared-memory buffers,
// each brought up to date with what changed since it last showed, the
// compositor told only where the picture changed, and no picture committed
// before the compositor has asked for the next (frame callbacks). SDL's own
// surface only holds a black pixel below, and the window's extent is set to
// the sub-surface's: SDL marks its whole surface damaged on every frame,
// which would make the compositor redraw all of it, and pointer events over
// the sub-surface reach SDL as over its own.
// Scaled and letterboxed as FramePresenter does; on an output of integer
// scale above 1 the buffers have the output's own pixels (buffer scale).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sdl/frame_updates.h"
#include "platform/sdl/shm_frame_writer.h"
#include "platform/sdl/wayland_frame_pacing.h"
#include "platform/sdl/wayland_shm_buffers.h"
#include "platform/types.h"

struct SDL_Surface;
struct SDL_Window;
struct wl_buffer;
struct wl_compositor;
struct wl_display;
struct wl_event_queue;
struct wl_proxy;
struct wl_shm;
struct wl_subcompositor;
struct wl_subsurface;
struct wl_surface;

namespace grazefall::platform::sdl {

// What a surface presenter draws with, bound by WaylandPresentation.
struct WaylandDrawing {
  wl_display* display = nullptr;
  // Where the events of everything made from these arrive.
  wl_event_queue* queue = nullptr;
  wl_compositor* compositor = nullptr;
  wl_subcompositor* subcompositor = nullptr;
  wl_shm* shm = nullptr;
};

// For tests: after `presents` pictures the presenter writes the frame of the
// last one as a BMP to `file` and commits nothing more, so that what the
// compositor shows can be compared with it.
struct HeldFrame {
  int64_t presents = 0;
  std::string file;
};

class WaylandSurfacePresenter {
 public:
  // Null when the window is not a Wayland one or the sub-surface cannot be
  // made.
  static std::unique_ptr<WaylandSurfacePresenter> Create(const WaylandDrawing& drawing,
                                                         SDL_Window* window,
                                                         std::optional<HeldFrame> held);
  ~WaylandSurfacePresenter();
  WaylandSurfacePresenter(const WaylandSurfacePresenter&) = delete;
  WaylandSurfacePresenter& operator=(const WaylandSurfacePresenter&) = delete;

  // A buffer for frames of `width` x `height` XRGB8888 pixels to be drawn
  // in and shown as they are (see present), or null unless the window is
  // that many pixels at scale 1.
  std::unique_ptr<ShmBuffers> lend(int32_t width, int32_t height);

  // Takes `frame` as the newest, differing from the one before only inside
  // `changes` (nullopt: anywhere), and shows it unless the compositor has not
  // yet asked for a new picture or holds every buffer: then what changed is
  // kept for the next picture. A frame drawn in a buffer this presenter lent
  // (`drawnIn`) and of the buffer's layout goes to the compositor as it is;
  // any other is copied into the presenter's own buffers. kOk unless the
  // frame cannot be drawn.
  int32_t present(SDL_Surface* frame, const std::optional<std::vector<Rect>>& changes,
                  ShmBuffers* drawnIn = nullptr);
  // The next picture is drawn whole.
  void invalidate() { updates_.reset(); }
  // Whether the compositor has not asked for a picture for a while.
  bool hidden(uint32_t nowMs) const { return pacing_.hidden(nowMs); }

 private:
  WaylandSurfacePresenter(const WaylandDrawing& drawing, SDL_Window* window);
  // Buffers, backdrop and scale for the window's present size; false when
  // they cannot be had.
  bool fitWindow();
  // Whether the buffers are `width` x `height` and so is the window, in
  // pixels of its own (scale 1).
  bool unscaledAt(int32_t width, int32_t height) const;
  // Whether `frame`, drawn in `lent`, can be shown as it is.
  bool showsAsDrawn(const SDL_Surface* frame, const ShmBuffers& lent) const;
  // Attaches `buffer` with `damage_`, committed with a frame request.
  void commit(wl_buffer* buffer);
  void hold(SDL_Surface* frame);

  WaylandDrawing drawing_;
  SDL_Window* window_;
  wl_surface* parent_ = nullptr;
  // The window's xdg_surface (SDL's), whose extent we set; null when SDL
  // gives none.
  wl_proxy* xdgSurface_ = nullptr;
  // The window's extent is to be set with the next picture.
  bool geometryPending_ = false;
  wl_surface* surface_ = nullptr;
  wl_subsurface* subsurface_ = nullptr;
  ShmBuffers buffers_;
  ShmBuffers backdrop_;
  ShmFrameWriter writer_;
  FrameUpdates updates_;
  FramePacing pacing_;
  int32_t logicalWidth_ = 0;
  int32_t logicalHeight_ = 0;
  std::vector<Rect> damage_;
  std::optional<HeldFrame> held_;
  int64_t presents_ = 0;
};

}  // namespace grazefall::platform::sdl
