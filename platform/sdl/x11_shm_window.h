// A window's pixels on X11 in memory shared with the X server, sent in one
// request however many rectangles changed: the rectangles become the clip
// list of our own graphics context and a single shared-memory put of their
// bounding box goes out, so the server copies just them. (SDL's window
// surface sends one put per rectangle, each one request the server decodes,
// looks up and clips on its own.) Only for TrueColor windows of 32 bits a
// pixel in the machine's byte order; anything else gets no such window and
// the caller keeps to SDL's surface.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

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
  bool send(const std::vector<SDL_Rect>& rects, bool whole);

 private:
  X11ShmWindow() = default;
  struct Parts;
  std::unique_ptr<Parts> parts_;
  SDL_Surface* surface_ = nullptr;
};

}  // namespace grazefall::platform::sdl
