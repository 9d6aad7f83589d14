// A window's pixels on X11 in memory shared with the X server (see
// x11_shared_image.h), as large as the window, written as an SDL surface and
// sent in one request however many rectangles changed. Only for windows
// whose format the shared pixels can hold; anything else gets no such window
// and the caller keeps to SDL's surface.
#pragma once

#include <SDL.h>

#include <memory>
#include <vector>

#include "platform/sdl/x11_shared_image.h"

namespace grazefall::platform::sdl {

class X11ShmWindow {
 public:
  // The shared pixels for `window`'s present size, or null when the window
  // is not on X11, the server has no shared memory, or its format is not one
  // the surface can hold.
  static std::unique_ptr<X11ShmWindow> Open(SDL_Window* window);
  ~X11ShmWindow();
  X11ShmWindow(const X11ShmWindow&) = delete;
  X11ShmWindow& operator=(const X11ShmWindow&) = delete;

  // The pixels, as large as the window was when opened; they stay what they
  // were made until written again.
  SDL_Surface* surface() const { return surface_; }
  // Whether `window` still has the size these pixels were made for.
  bool fits(SDL_Window* window) const;
  // Puts `rects` (inside the surface) on the window, or all of it when
  // `whole`, and waits until the server has read them. False when the server
  // refused.
  bool send(const std::vector<Rect>& rects, bool whole);

 private:
  X11ShmWindow() = default;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<X11SharedImage> image_;
  SDL_Surface* surface_ = nullptr;
};

}  // namespace grazefall::platform::sdl
