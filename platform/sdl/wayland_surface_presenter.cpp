#include "platform/sdl/wayland_surface_presenter.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <wayland-client.h>

#include <cstdio>

namespace grazefall::platform::sdl {

std::unique_ptr<WaylandSurfacePresenter> WaylandSurfacePresenter::Create(
    const WaylandDrawing& drawing, SDL_Window* window, std::optional<HeldFrame> held) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
      info.subsystem != SDL_SYSWM_WAYLAND || info.info.wl.display != drawing.display ||
      info.info.wl.surface == nullptr) {
    return nullptr;
  }
  std::unique_ptr<WaylandSurfacePresenter> presenter(new WaylandSurfacePresenter(drawing, window));
  presenter->held_ = std::move(held);
  presenter->parent_ = info.info.wl.surface;
  presenter->xdgSurface_ = reinterpret_cast<wl_proxy*>(info.info.wl.xdg_surface);
  presenter->surface_ = wl_compositor_create_surface(drawing.compositor);
  if (presenter->surface_ == nullptr) return nullptr;
  presenter->subsurface_ = wl_subcompositor_get_subsurface(drawing.subcompositor,
                                                           presenter->surface_, presenter->parent_);
  if (presenter->subsurface_ == nullptr) return nullptr;
  // Drawn whenever it is ready, not only with SDL's commits of the window.
  wl_subsurface_set_desync(presenter->subsurface_);
  // The pointer over our surface is the pointer over the window: SDL takes
  // pointer events only on surfaces it knows by its tag, and finds the
  // window from the surface's user data. The window's own surface is a single
  // pixel (see fitWindow), so nearly all of them come here.
  auto* ours = reinterpret_cast<wl_proxy*>(presenter->surface_);
  wl_proxy_set_tag(ours, wl_proxy_get_tag(reinterpret_cast<wl_proxy*>(presenter->parent_)));
  wl_surface_set_user_data(presenter->surface_, wl_surface_get_user_data(presenter->parent_));
  return presenter;
}

WaylandSurfacePresenter::WaylandSurfacePresenter(const WaylandDrawing& drawing, SDL_Window* window)
    : drawing_(drawing),
      window_(window),
      buffers_(drawing.shm, ShmBuffers::kMost),
      backdrop_(drawing.shm, 1),
      updates_(ShmBuffers::kMost) {}

WaylandSurfacePresenter::~WaylandSurfacePresenter() {
  if (subsurface_ != nullptr) wl_subsurface_destroy(subsurface_);
  if (surface_ != nullptr) wl_surface_destroy(surface_);
  wl_display_flush(drawing_.display);
}

bool WaylandSurfacePresenter::fitWindow() {
  int width = 0;
  int height = 0;
  int pixelWidth = 0;
  int pixelHeight = 0;
  SDL_GetWindowSize(window_, &width, &height);
  SDL_GetWindowSizeInPixels(window_, &pixelWidth, &pixelHeight);
  if (width <= 0 || height <= 0 || pixelWidth <= 0 || pixelHeight <= 0) return false;
  // An integer output scale: buffers of the output's own pixels. Any other
  // (fractional) scale: buffers of the window's size, scaled by the
  // compositor.
  const bool integerScale = pixelWidth % width == 0 && pixelHeight % height == 0 &&
                            pixelWidth / width == pixelHeight / height;
  const bool onePixel = integerScale && xdgSurface_ != nullptr;
  const int32_t scale = integerScale ? pixelWidth / width : 1;
  // The window's own surface, committed once here, maps the sub-surface
  // above it and holds one black pixel (at SDL's scale, which it keeps): a
  // compositor that does not cull hidden surfaces redraws whatever lies
  // below our changes, and a backdrop as large as the window made that a
  // third of sway's time at 1920x1080. A fractional scale may have SDL scale
  // the surface; scaled, one pixel costs a compositor far more than a
  // buffer of the window's size, so that one stays.
  const int32_t backdropWidth = onePixel ? scale : pixelWidth;
  const int32_t backdropHeight = onePixel ? scale : pixelHeight;
  if (width == logicalWidth_ && height == logicalHeight_ && buffers_.width() > 0 &&
      backdrop_.width() == backdropWidth && backdrop_.height() == backdropHeight) {
    return true;
  }
  if (!buffers_.fit(width * scale, height * scale)) return false;
  if (!backdrop_.fit(backdropWidth, backdropHeight)) return false;
  SDL_FillRect(backdrop_.pixels(0), nullptr, 0);
  wl_surface_set_buffer_scale(surface_, scale);
  // Opaque all over: a compositor that culls needs draw nothing below it.
  wl_region* opaque = wl_compositor_create_region(drawing_.compositor);
  wl_region_add(opaque, 0, 0, width, height);
  wl_surface_set_opaque_region(surface_, opaque);
  wl_region_destroy(opaque);
  wl_surface_attach(parent_, backdrop_.buffer(0), 0, 0);
  wl_surface_damage_buffer(parent_, 0, 0, backdropWidth, backdropHeight);
  wl_surface_commit(parent_);
  geometryPending_ = onePixel;
  logicalWidth_ = width;
  logicalHeight_ = height;
  updates_.reset();
  return true;
}

bool WaylandSurfacePresenter::unscaledAt(int32_t width, int32_t height) const {
  return buffers_.width() == width && buffers_.height() == height && logicalWidth_ == width &&
         logicalHeight_ == height;
}

std::unique_ptr<ShmBuffers> WaylandSurfacePresenter::lend(int32_t width, int32_t height) {
  if (!fitWindow() || !unscaledAt(width, height)) return nullptr;
  auto lent = std::make_unique<ShmBuffers>(drawing_.shm, 1);
  if (!lent->fit(width, height)) return nullptr;
  return lent;
}

bool WaylandSurfacePresenter::showsAsDrawn(const SDL_Surface* frame, const ShmBuffers& lent) const {
  // Drawn in that buffer's memory, the frame has its size and rows.
  return frame->pixels == lent.pixels(0)->pixels &&
         frame->format->format == SDL_PIXELFORMAT_RGB888 && unscaledAt(lent.width(), lent.height());
}

int32_t WaylandSurfacePresenter::present(SDL_Surface* frame,
                                         const std::optional<std::vector<Rect>>& changes,
                                         ShmBuffers* drawnIn) {
  // Releases and frame callbacks SDL's reading has brought in.
  wl_display_dispatch_queue_pending(drawing_.display, drawing_.queue);
  if (frame == nullptr || !fitWindow()) return kEFail;
  if (drawnIn != nullptr && !showsAsDrawn(frame, *drawnIn)) drawnIn = nullptr;
  if (drawnIn == nullptr) {
    if (writer_.fit(frame, buffers_.width(), buffers_.height())) updates_.reset();
    if (!writer_.ready()) return kEFail;
  }
  updates_.changed(changes);
  if (held_ && presents_ >= held_->presents) return kOk;
  // Nothing is drawn before the compositor wants it: the changes wait here.
  if (pacing_.waiting() || !updates_.pending()) return kOk;
  if (drawnIn != nullptr) {
    updates_.showAsDrawn(drawnIn->width(), drawnIn->height(), &damage_);
    commit(drawnIn->buffer(0));
    drawnIn->attached(0);
  } else {
    const int32_t free = buffers_.released();
    if (free < 0) return kOk;
    const auto index = static_cast<size_t>(free);
    if (!updates_.show(writer_, frame, index, buffers_.pixels(index), &damage_)) {
      updates_.reset();
      return kEFail;
    }
    commit(buffers_.buffer(index));
    buffers_.attached(index);
  }
  wl_display_flush(drawing_.display);
  if (held_ && ++presents_ == held_->presents) hold(frame);
  return kOk;
}

void WaylandSurfacePresenter::commit(wl_buffer* buffer) {
  wl_surface_attach(surface_, buffer, 0, 0);
  for (const Rect& area : damage_) {
    wl_surface_damage_buffer(surface_, area.left, area.top, area.width(), area.height());
  }
  pacing_.request(surface_, SDL_GetTicks());
  wl_surface_commit(surface_);
  if (geometryPending_) {
    // The window is as large as our surface, which now has a picture: the
    // compositor reads the window's extent when its own surface commits.
    constexpr uint32_t kSetWindowGeometry = 3;  // xdg_surface.set_window_geometry
    wl_proxy_marshal(xdgSurface_, kSetWindowGeometry, 0, 0, logicalWidth_, logicalHeight_);
    wl_surface_commit(parent_);
    geometryPending_ = false;
  }
}

void WaylandSurfacePresenter::hold(SDL_Surface* frame) {
  // In the buffers' format, converted as they are: a BMP of another depth
  // would go through another of SDL's conversions.
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(frame, SDL_PIXELFORMAT_RGB888, 0);
  const int written = converted != nullptr ? SDL_SaveBMP(converted, held_->file.c_str()) : -1;
  if (converted != nullptr) SDL_FreeSurface(converted);
  if (written != 0) {
    std::fprintf(stderr, "grazefall: the held frame could not be written to %s: %s\n",
                 held_->file.c_str(), SDL_GetError());
  }
}

}  // namespace grazefall::platform::sdl
