#include "platform/sdl/viewport_map.h"

#include <SDL.h>

#include <algorithm>

namespace grazefall::platform::sdl {
namespace {

// The first viewport column showing frame column `frameColumn` (or beyond):
// viewport column x shows frame column x * frameSide / viewportSide.
int32_t FirstShowing(int64_t frameColumn, int64_t frameSide, int64_t viewportSide) {
  return static_cast<int32_t>((frameColumn * viewportSide + frameSide - 1) / frameSide);
}

}  // namespace

Rect LetterboxOf(int32_t frameWidth, int32_t frameHeight, int32_t windowWidth,
                 int32_t windowHeight) {
  if (frameWidth <= 0 || frameHeight <= 0 || windowWidth <= 0 || windowHeight <= 0) return Rect{};
  int64_t width = windowWidth;
  int64_t height = windowHeight;
  if (int64_t{windowWidth} * frameHeight <= int64_t{windowHeight} * frameWidth) {
    height = std::max<int64_t>(1, int64_t{frameHeight} * windowWidth / frameWidth);
  } else {
    width = std::max<int64_t>(1, int64_t{frameWidth} * windowHeight / frameHeight);
  }
  const auto left = static_cast<int32_t>((windowWidth - width) / 2);
  const auto top = static_cast<int32_t>((windowHeight - height) / 2);
  return Rect{left, top, left + static_cast<int32_t>(width), top + static_cast<int32_t>(height)};
}

std::optional<Rect> DoubledViewportOf(int32_t frameWidth, int32_t frameHeight, int32_t windowWidth,
                                      int32_t windowHeight) {
  const Rect viewport = LetterboxOf(frameWidth, frameHeight, windowWidth, windowHeight);
  if (viewport.width() != int64_t{frameWidth} * 2 ||
      viewport.height() != int64_t{frameHeight} * 2) {
    return std::nullopt;
  }
  return viewport;
}

void ViewportMap::fit(int32_t frameWidth, int32_t frameHeight, int32_t width, int32_t height) {
  frameWidth_ = frameWidth;
  frameHeight_ = frameHeight;
  viewport = LetterboxOf(frameWidth, frameHeight, width, height);
  sourceColumn.resize(static_cast<size_t>(std::max(0, viewport.width())));
  sourceRow.resize(static_cast<size_t>(std::max(0, viewport.height())));
  for (int32_t x = 0; x < viewport.width(); ++x) {
    sourceColumn[x] = static_cast<int32_t>(int64_t{x} * frameWidth / viewport.width());
  }
  for (int32_t y = 0; y < viewport.height(); ++y) {
    sourceRow[y] = static_cast<int32_t>(int64_t{y} * frameHeight / viewport.height());
  }
}

Rect ViewportMap::shownOf(const Rect& cut) const {
  if (viewport.width() <= 0 || viewport.height() <= 0) return Rect{};
  const Rect shown{FirstShowing(cut.left, frameWidth_, viewport.width()),
                   FirstShowing(cut.top, frameHeight_, viewport.height()),
                   FirstShowing(cut.right, frameWidth_, viewport.width()),
                   FirstShowing(cut.bottom, frameHeight_, viewport.height())};
  return shown.width() > 0 && shown.height() > 0 ? shown : Rect{};
}

std::array<Rect, 4> BarsAround(const Rect& viewport, int32_t width, int32_t height) {
  return {Rect{0, 0, width, viewport.top}, Rect{0, viewport.bottom, width, height},
          Rect{0, viewport.top, viewport.left, viewport.bottom},
          Rect{viewport.right, viewport.top, width, viewport.bottom}};
}

bool FillBars(SDL_Surface* target, const Rect& viewport) {
  const uint32_t black = SDL_MapRGB(target->format, 0, 0, 0);
  for (const Rect& bar : BarsAround(viewport, target->w, target->h)) {
    const SDL_Rect area{bar.left, bar.top, bar.width(), bar.height()};
    if (area.w > 0 && area.h > 0 && SDL_FillRect(target, &area, black) != 0) return false;
  }
  return true;
}

}  // namespace grazefall::platform::sdl
