// Pixels in memory shared with the X server, put on a window in one request
// however many rectangles changed: the rectangles become the clip list of our
// own graphics context and a single shared-memory put of their bounding box
// goes out, so the server copies just them. (SDL's window surface sends one
// put per rectangle, each one request the server decodes, looks up and clips
// on its own.) Only 0x00RRGGBB words of 32 bits in the machine's byte order,
// for TrueColor windows of depth 24 with those masks; anything else gets no
// such image and the caller keeps to SDL's surface.
//
// A window the image fits in exactly twice as wide and high (1920x1080 on
// 3840x2160, or on 3840x2400 with black bars) is given the image's pixels as
// they are, into a pixmap of the image's size on the server, and the server
// draws each of them there as a 2x2 block (RENDER, nearest neighbour): the
// doubled picture is never written or copied by us, and the server copies a
// quarter of what it would.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/types.h"

namespace grazefall::platform::sdl {

class X11SharedImage {
 public:
  // `width` x `height` shared pixels on the X server `window` is on, or null
  // when the window is not on X11, the server has no shared memory, or the
  // window's format is not one these pixels are in.
  static std::unique_ptr<X11SharedImage> Create(SDL_Window* window, int width, int height);
  ~X11SharedImage();
  X11SharedImage(const X11SharedImage&) = delete;
  X11SharedImage& operator=(const X11SharedImage&) = delete;

  void* pixels() const;
  int pitch() const;
  int width() const;
  int height() const;
  // Whether `window` is on the same server, in the format of these pixels.
  bool suits(SDL_Window* window) const;
  // Puts `rects` (inside the image) at the same place on `window` (one that
  // suits), or all of it when `whole`, and waits until the server has read
  // them. False when the window is not on X11.
  bool putOn(SDL_Window* window, const std::vector<Rect>& rects, bool whole) const;
  // Whether the server can show these pixels doubled on `window` (one that
  // suits): it has RENDER and a picture format for them.
  bool doublesOn(SDL_Window* window) const;
  // The same as putOn, on a window these pixels double on, into `viewport`
  // (window coordinates, twice the image's width and height): each pixel of
  // `rects` shows as the 2x2 block at twice its place, as the frame's
  // nearest-neighbour doubling shows it. A whole put also blackens the
  // window outside the viewport.
  bool putDoubledOn(SDL_Window* window, const Rect& viewport, const std::vector<Rect>& rects,
                    bool whole) const;

 private:
  X11SharedImage() = default;
  // Sets the graphics context's clip to `rects` (cut to the image) and gives
  // their bounding box, or clears it and gives the whole image when `whole`;
  // the bounding box alone goes when the list does not fit one request, or
  // the window coordinates it becomes reach past X's 16 bits (`farthest`).
  // False when nothing is left to put.
  bool clipTo(const std::vector<Rect>& rects, bool whole, int64_t farthest, Rect* box) const;
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace grazefall::platform::sdl
