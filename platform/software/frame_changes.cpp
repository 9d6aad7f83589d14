#include "platform/software/frame_changes.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace grazefall::platform::software {
namespace {

// Changes over more than this share of the frame are shown whole: converting
// and sending most of it piece by piece costs more than sending it at once.
constexpr int64_t kWholeNumerator = 1;
constexpr int64_t kWholeDenominator = 2;

struct TileGrid {
  int32_t width, height, tileSide, columns, rows;
};

TileGrid GridOf(int32_t width, int32_t height, int32_t tileSide) {
  return {width, height, tileSide, (width + tileSide - 1) / tileSide,
          (height + tileSide - 1) / tileSide};
}

// Marks the tiles `areas` touch, a row of tiles at a time, and adds the area
// of the newly marked tiles (cut to the frame) to `markedArea`. Stops,
// answering false, as soon as the marked area is over `areaLimit`: a frame
// that goes whole costs no more than that.
bool MarkTiles(const std::vector<Rect>& areas, const TileGrid& grid, std::vector<uint8_t>& tiles,
               int64_t& markedArea, int64_t areaLimit) {
  const int32_t side = grid.tileSide;
  const int32_t lastColumn = grid.columns - 1;
  const int64_t lastColumnShortBy = int64_t{side} - (grid.width - lastColumn * side);
  for (const Rect& area : areas) {
    const int32_t left = std::max(area.left, 0);
    const int32_t top = std::max(area.top, 0);
    const int32_t right = std::min(area.right, grid.width);
    const int32_t bottom = std::min(area.bottom, grid.height);
    if (left >= right || top >= bottom) continue;
    const int32_t first = left / side;
    const int32_t last = (right - 1) / side;
    const auto count = static_cast<size_t>(last - first + 1);
    for (int32_t row = top / side; row <= (bottom - 1) / side; ++row) {
      uint8_t* span = tiles.data() + static_cast<size_t>(row) * grid.columns + first;
      const int64_t fresh = std::count(span, span + count, uint8_t{0});
      if (fresh == 0) continue;
      int64_t width = fresh * side;
      if (last == lastColumn && span[count - 1] == 0) width -= lastColumnShortBy;
      markedArea += width * (std::min((row + 1) * side, grid.height) - row * side);
      std::memset(span, 1, count);
      if (markedArea > areaLimit) return false;
    }
  }
  return true;
}

// The marked tiles as rectangles: runs of marked tiles along each row of
// tiles, joined with the rows below while they span the same columns.
std::vector<Rect> CoverOfMarked(const TileGrid& grid, const std::vector<uint8_t>& tiles) {
  std::vector<Rect> cover;
  // Runs of the row of tiles above that are still open: a run below with the
  // same columns extends one of them downwards instead of starting anew.
  std::vector<size_t> open;
  std::vector<size_t> stillOpen;
  const int32_t side = grid.tileSide;
  for (int32_t row = 0; row < grid.rows; ++row) {
    const uint8_t* line = tiles.data() + static_cast<size_t>(row) * grid.columns;
    const int32_t top = row * side;
    const int32_t bottom = std::min(top + side, grid.height);
    stillOpen.clear();
    size_t nextOpen = 0;
    for (int32_t column = 0; column < grid.columns;) {
      // Most tiles are untouched: they are skipped eight at a time.
      uint64_t eight = 0;
      if (column + 8 <= grid.columns) std::memcpy(&eight, line + column, sizeof eight);
      if (column + 8 <= grid.columns && eight == 0) {
        column += 8;
        continue;
      }
      if (line[column] == 0) {
        ++column;
        continue;
      }
      int32_t end = column;
      while (end < grid.columns && line[end] != 0) ++end;
      const Rect run{column * side, top, std::min(end * side, grid.width), bottom};
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

}  // namespace

std::vector<Rect> TileCover(const std::vector<Rect>& first, const std::vector<Rect>& second,
                            int32_t width, int32_t height, int32_t tileSide,
                            std::vector<uint8_t>& scratch) {
  if (width <= 0 || height <= 0 || tileSide <= 0) return {};
  const TileGrid grid = GridOf(width, height, tileSide);
  scratch.assign(static_cast<size_t>(grid.columns) * grid.rows, 0);
  int64_t area = 0;
  const int64_t noLimit = int64_t{width} * height;
  MarkTiles(first, grid, scratch, area, noLimit);
  MarkTiles(second, grid, scratch, area, noLimit);
  return CoverOfMarked(grid, scratch);
}

std::optional<std::vector<Rect>> FrameChanges::next(const SurfacePixels& frame) {
  const int32_t width = frame.sdl->w;
  const int32_t height = frame.sdl->h;
  const bool comparable = previousKnown_ && frame.clearKnown &&
                          frame.clearValue == previousClear_ && width == previousWidth_ &&
                          height == previousHeight_;
  std::optional<std::vector<Rect>> changes;
  if (comparable) {
    const TileGrid grid = GridOf(width, height, kTileSide);
    tiles_.assign(static_cast<size_t>(grid.columns) * grid.rows, 0);
    const int64_t limit = int64_t{width} * height * kWholeNumerator / kWholeDenominator;
    int64_t area = 0;
    if (MarkTiles(previousDrawn_, grid, tiles_, area, limit) &&
        MarkTiles(frame.drawn, grid, tiles_, area, limit)) {
      changes = CoverOfMarked(grid, tiles_);
    }
  }
  previousKnown_ = frame.clearKnown;
  previousClear_ = frame.clearValue;
  previousWidth_ = width;
  previousHeight_ = height;
  previousDrawn_ = frame.drawn;
  return changes;
}

}  // namespace grazefall::platform::software
