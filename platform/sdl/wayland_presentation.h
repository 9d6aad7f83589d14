// Presentation of the saver's windows on Wayland through buffers of our own
// (see WaylandSurfacePresenter): the compositor's globals bound once on
// SDL's connection, one surface presenter for each window, and what the
// window system needs to know of them all: whether none of them is shown,
// and a sleep until the compositor says something.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "platform/sdl/wayland_surface_presenter.h"

struct SDL_Window;
struct wl_registry;

namespace grazefall::platform::sdl {

class WaylandPresentation {
 public:
  // Bound on the connection of `window` (a Wayland window of SDL's); null
  // when it is not one or the compositor lacks shared memory or
  // sub-surfaces. GRAZEFALL_WAYLAND_SHM=0 refuses it on purpose.
  static std::unique_ptr<WaylandPresentation> Create(SDL_Window* window);
  ~WaylandPresentation();
  WaylandPresentation(const WaylandPresentation&) = delete;
  WaylandPresentation& operator=(const WaylandPresentation&) = delete;

  // A presenter for `window`, made now; false when it cannot be made (the
  // window is then shown SDL's way).
  bool adopt(SDL_Window* window);
  // The presenter of `window`, or null.
  WaylandSurfacePresenter* presenterOf(SDL_Window* window);
  // Lets go of `window`'s presenter before SDL destroys the window.
  void release(SDL_Window* window);
  // Whether there are presenters, none is shown by the compositor and the
  // connection to it still stands.
  bool hidden(uint32_t nowMs);
  // Sleeps until the compositor sends something, a signal comes, or
  // `timeoutMs` pass.
  void wait(int timeoutMs);

 private:
  WaylandPresentation() = default;

  WaylandDrawing drawing_;
  wl_registry* registry_ = nullptr;
  std::map<SDL_Window*, std::unique_ptr<WaylandSurfacePresenter>> presenters_;
  std::optional<HeldFrame> held_;
  int32_t made_ = 0;
};

// Shows `window` through `presentation`, made on the first window asked
// for; where that cannot be, says so once on stderr (`refusalSaid`) and
// leaves the window to SDL's own window surface.
void AdoptForPresentation(std::unique_ptr<WaylandPresentation>* presentation, bool* refusalSaid,
                          SDL_Window* window);

}  // namespace grazefall::platform::sdl
