// How a frame is laid into a larger or smaller picture (a window's pixels, a
// compositor's buffer): as large as fits with its aspect kept, centred,
// nearest-neighbour, black bars around. Both presenters go by this one map,
// so a frame looks the same whichever way it reaches the screen.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/types.h"

struct SDL_Surface;

namespace grazefall::platform::sdl {

// Where a `frameWidth` x `frameHeight` frame lands in a `windowWidth` x
// `windowHeight` window: as large as fits with the aspect kept, centred.
Rect LetterboxOf(int32_t frameWidth, int32_t frameHeight, int32_t windowWidth,
                 int32_t windowHeight);

struct ViewportMap {
  Rect viewport{};
  // For each column and row of the viewport, the frame column or row shown.
  std::vector<int32_t> sourceColumn;
  std::vector<int32_t> sourceRow;

  // Lays a `frameWidth` x `frameHeight` frame out in a `width` x `height`
  // picture.
  void fit(int32_t frameWidth, int32_t frameHeight, int32_t width, int32_t height);
  // The viewport rectangle (viewport coordinates) showing `cut`, a frame
  // rectangle already cut to the frame; empty when it shows on no pixel.
  Rect shownOf(const Rect& cut) const;

 private:
  int32_t frameWidth_ = 0;
  int32_t frameHeight_ = 0;
};

// Blackens what lies outside `viewport` in `target`. False when a fill fails.
bool FillBars(SDL_Surface* target, const Rect& viewport);

}  // namespace grazefall::platform::sdl
