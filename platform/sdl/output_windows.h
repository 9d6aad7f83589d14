// The SDL windows that show one window of ours: a single one (a window over
// the screen rectangle, an ordinary window, a foreign X window drawn into),
// or one on every output SDL reports, each showing the same frame scaled to
// fit it. The first is the one the window's size and painting go by.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "platform/sdl/frame_presenter.h"
#include "platform/sdl/wayland_presentation.h"
#include "platform/types.h"

struct SDL_Window;
struct SDL_Surface;

namespace grazefall::platform::sdl {

// The rectangle around every output SDL reports (the virtual screen);
// empty when none is.
Rect UnionOfOutputs();

class OutputWindows {
 public:
  OutputWindows() = default;
  // Just `window`, taken over (null: none).
  explicit OutputWindows(SDL_Window* window);

  // How a window on an output is made to cover it.
  enum class Cover {
    // Borderless, always on top, placed at the output's bounds exactly: with
    // or without a window manager it lands where it should, and no mode is
    // switched (X11).
    Placed,
    // Full screen on the output, as a Wayland compositor gives it (a client
    // cannot place windows there).
    FullScreen,
  };
  // One window on every output SDL reports; false when none could be made.
  bool openOnEveryOutput(const std::string& title, Cover cover);

  bool empty() const { return outputs_.empty(); }
  size_t size() const { return outputs_.size(); }
  // The first window, or null.
  SDL_Window* first() const;
  uint32_t firstId() const;
  // Whether `sdlId` is one of these windows' SDL ids.
  bool has(uint32_t sdlId) const;
  // Whether `window` is one of these windows.
  bool holds(const SDL_Window* window) const;
  // Whether X window `xWindow` is one of these windows.
  bool holdsXWindow(uint64_t xWindow) const;

  // Shows the frame in every window; the first's result, since another
  // output's copy that fails to show costs that output a frame, not the
  // saver its display.
  // `lent`, when given, is the buffer the first window's Wayland presenter
  // lent the frame's pixels in (see lend).
  int32_t present(SDL_Surface* frame, const std::optional<std::vector<Rect>>& changes,
                  const X11SharedImage* shared = nullptr, ShmBuffers* lent = nullptr);
  // A Wayland buffer from the first window's presenter for frames to be drawn
  // in (see WaylandSurfacePresenter::lend), or null.
  std::unique_ptr<ShmBuffers> lend(int32_t width, int32_t height);
  // The next frame goes whole to every window.
  void invalidate();
  // Paints `picture` at (x, y) into the first window over black (a
  // preview's still picture); false when it cannot be shown.
  bool paint(const Picture& picture, int32_t x, int32_t y);
  template <typename Visit>
  void forEach(Visit&& visit) const {
    for (const Output& output : outputs_) visit(output.window.get());
  }
  // Frames go through `presentation`'s buffers for the windows it has a
  // presenter of (null: none); it must outlive these windows or be unset.
  void showThrough(WaylandPresentation* presentation) { presentation_ = presentation; }
  // Destroys them all (only lets go of a foreign window), their Wayland
  // presenters first.
  void close();

 private:
  struct WindowDeleter {
    void operator()(SDL_Window* window) const;
  };
  struct Output {
    // Declared first, destroyed last: a presenter goes before its window.
    std::unique_ptr<SDL_Window, WindowDeleter> window;
    uint32_t sdlId = 0;
    std::unique_ptr<FramePresenter> presenter = std::make_unique<FramePresenter>();
  };
  void add(SDL_Window* window);

  std::vector<Output> outputs_;
  WaylandPresentation* presentation_ = nullptr;
};

}  // namespace grazefall::platform::sdl
