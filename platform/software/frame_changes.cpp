#include "platform/software/frame_changes.h"

#include <SDL.h>

#include <algorithm>

namespace grazefall::platform::software {
namespace {

// Changes over more than this share of the frame are shown whole: converting
// and sending most of it piece by piece costs more than sending it at once.
constexpr int64_t kWholeNumerator = 1;
constexpr int64_t kWholeDenominator = 2;

void MarkTiles(const std::vector<Rect>& areas, int32_t width, int32_t height, int32_t tileSide,
               int32_t columns, std::vector<uint8_t>& tiles) {
  for (const Rect& area : areas) {
    const int32_t left = std::max(area.left, 0);
    const int32_t top = std::max(area.top, 0);
    const int32_t right = std::min(area.right, width);
    const int32_t bottom = std::min(area.bottom, height);
    if (left >= right || top >= bottom) continue;
    for (int32_t row = top / tileSide; row <= (bottom - 1) / tileSide; ++row) {
      uint8_t* line = tiles.data() + static_cast<size_t>(row) * columns;
      std::fill(line + left / tileSide, line + (right - 1) / tileSide + 1, uint8_t{1});
    }
  }
}

}  // namespace

std::vector<Rect> TileCover(const std::vector<Rect>& first, const std::vector<Rect>& second,
                            int32_t width, int32_t height, int32_t tileSide,
                            std::vector<uint8_t>& scratch) {
  std::vector<Rect> cover;
  if (width <= 0 || height <= 0 || tileSide <= 0) return cover;
  const int32_t columns = (width + tileSide - 1) / tileSide;
  const int32_t rows = (height + tileSide - 1) / tileSide;
  scratch.assign(static_cast<size_t>(columns) * rows, 0);
  MarkTiles(first, width, height, tileSide, columns, scratch);
  MarkTiles(second, width, height, tileSide, columns, scratch);
  // Runs of the row of tiles above that are still open: a run below with the
  // same columns extends one of them downwards instead of starting anew.
  std::vector<size_t> open;
  std::vector<size_t> stillOpen;
  for (int32_t row = 0; row < rows; ++row) {
    const uint8_t* line = scratch.data() + static_cast<size_t>(row) * columns;
    const int32_t top = row * tileSide;
    const int32_t bottom = std::min(top + tileSide, height);
    stillOpen.clear();
    size_t nextOpen = 0;
    for (int32_t column = 0; column < columns;) {
      if (line[column] == 0) {
        ++column;
        continue;
      }
      int32_t end = column;
      while (end < columns && line[end] != 0) ++end;
      const Rect run{column * tileSide, top, std::min(end * tileSide, width), bottom};
      // Open runs are in column order, as the runs of this row are.
      while (nextOpen < open.size() && cover[open[nextOpen]].left < run.left) ++nextOpen;
      if (nextOpen < open.size() && cover[open[nextOpen]].left == run.left &&
          cover[open[nextOpen]].right == run.right) {
        cover[open[nextOpen]].bottom = bottom;
        stillOpen.push_back(open[nextOpen]);
        ++nextOpen;
      } else {
        stillOpen.push_back(cover.size());
        cover.push_back(run);
      }
      column = end;
    }
    open.swap(stillOpen);
  }
  return cover;
}

std::optional<std::vector<Rect>> FrameChanges::next(const SurfacePixels& frame) {
  const int32_t width = frame.sdl->w;
  const int32_t height = frame.sdl->h;
  const bool comparable = previousKnown_ && frame.clearKnown &&
                          frame.clearValue == previousClear_ && width == previousWidth_ &&
                          height == previousHeight_;
  std::optional<std::vector<Rect>> changes;
  if (comparable) {
    changes = TileCover(previousDrawn_, frame.drawn, width, height, kTileSide, tiles_);
    int64_t area = 0;
    for (const Rect& r : *changes) area += int64_t{r.width()} * r.height();
    if (area * kWholeDenominator > int64_t{width} * height * kWholeNumerator) changes.reset();
  }
  previousKnown_ = frame.clearKnown;
  previousClear_ = frame.clearValue;
  previousWidth_ = width;
  previousHeight_ = height;
  previousDrawn_ = frame.drawn;
  return changes;
}

}  // namespace grazefall::platform::software
