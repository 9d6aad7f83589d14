// How a frame is laid into a larger or smaller picture (a window's pixels, a
// compositor's buffer): as large as fits with its aspect kept, centred,
// nearest-neighbour, black bars around. Both presenters go by this one map
// and scale through ScaleArea, so a frame looks the same, and costs the same,
// whichever way it reaches the screen.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/types.h"

namespace grazefall::platform::sdl {

// Where a `frameWidth` x `frameHeight` frame lands in a `windowWidth` x
// `windowHeight` window: as large as fits with the aspect kept, centred.
Rect LetterboxOf(int32_t frameWidth, int32_t frameHeight, int32_t windowWidth,
                 int32_t windowHeight);

// The viewport of a `frameWidth` x `frameHeight` frame in a `windowWidth` x
// `windowHeight` window when it lands there exactly twice as wide and high
// (the X server then doubles it); nullopt otherwise.
std::optional<Rect> DoubledViewportOf(int32_t frameWidth, int32_t frameHeight, int32_t windowWidth,
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
  // True when the viewport is exactly twice as wide as the frame (1920x1080
  // on 3840x2160): viewport column x then shows frame column x / 2.
  bool columnsDoubled() const {
    return frameWidth_ > 0 && sourceColumn.size() == static_cast<size_t>(frameWidth_) * 2;
  }

 private:
  int32_t frameWidth_ = 0;
  int32_t frameHeight_ = 0;
};

// Draws `area` of the viewport (viewport coordinates) from the frame `from`
// into `to` at the viewport's place, each pixel taken from its mapped column
// and row and made a `TargetPixel` by `convert`. A row showing the same frame
// row as the row above it is a copy of that row, already in place; a doubled
// width reads each frame pixel once and writes it twice.
template <typename SourcePixel, typename TargetPixel, typename Convert>
void ScaleArea(const ViewportMap& map, const SDL_Surface* from, SDL_Surface* to, const Rect& area,
               Convert convert) {
  const std::vector<int32_t>& rows = map.sourceRow;
  const std::vector<int32_t>& columns = map.sourceColumn;
  const bool doubled = map.columnsDoubled();
  for (int32_t y = area.top; y < area.bottom; ++y) {
    auto* target =
        reinterpret_cast<TargetPixel*>(static_cast<uint8_t*>(to->pixels) +
                                       static_cast<size_t>(map.viewport.top + y) * to->pitch) +
        map.viewport.left;
    if (y > area.top && rows[y] == rows[y - 1]) {
      const auto* above = reinterpret_cast<const TargetPixel*>(
          reinterpret_cast<const uint8_t*>(target) - to->pitch);
      std::memcpy(target + area.left, above + area.left,
                  static_cast<size_t>(area.width()) * sizeof(TargetPixel));
      continue;
    }
    const auto* source = reinterpret_cast<const SourcePixel*>(
        static_cast<const uint8_t*>(from->pixels) + static_cast<size_t>(rows[y]) * from->pitch);
    if (!doubled) {
      for (int32_t x = area.left; x < area.right; ++x) target[x] = convert(source[columns[x]]);
      continue;
    }
    int32_t x = area.left;
    if (x % 2 != 0) {
      target[x] = convert(source[x / 2]);
      ++x;
    }
    const int32_t pairsEnd = x + (area.right - x) / 2 * 2;
    for (int32_t column = x / 2; column < pairsEnd / 2; ++column) {
      const TargetPixel pixel = convert(source[column]);
      target[column * 2] = pixel;
      target[column * 2 + 1] = pixel;
    }
    if (pairsEnd < area.right) target[pairsEnd] = convert(source[pairsEnd / 2]);
  }
}

// The four bars of a `width` x `height` picture around `viewport` (inside
// it): above, below, left and right; a bar may be empty.
std::array<Rect, 4> BarsAround(const Rect& viewport, int32_t width, int32_t height);

// Blackens what lies outside `viewport` in `target`. False when a fill fails.
bool FillBars(SDL_Surface* target, const Rect& viewport);

}  // namespace grazefall::platform::sdl
