#include "platform/software/frame_changes.h"

#include <SDL.h>

#include <algorithm>
#include <bit>

namespace grazefall::platform::software {
namespace {

// Changes over more than this share of the frame are shown whole: converting
// and sending most of it piece by piece costs more than sending it at once.
constexpr int64_t kWholeNumerator = 1;
constexpr int64_t kWholeDenominator = 2;

// One bit a tile, 64 to a word; each row of tiles starts a word of its own.
struct TileGrid {
  int32_t width, height, tileSide, columns, rows, words;
};

TileGrid GridOf(int32_t width, int32_t height, int32_t tileSide) {
  const int32_t columns = (width + tileSide - 1) / tileSide;
  return {
      width, height, tileSide, columns, (height + tileSide - 1) / tileSide, (columns + 63) / 64};
}

size_t BitsOf(const TileGrid& grid) {
  return static_cast<size_t>(grid.words) * grid.rows;
}

// Bits `first` to `last` of a word, both included.
uint64_t BitsFromTo(int32_t first, int32_t last) {
  const uint64_t upToLast = last == 63 ? ~uint64_t{0} : (uint64_t{1} << (last + 1)) - 1;
  return upToLast & (~uint64_t{0} << first);
}

// The bits set in `word` (std::popcount becomes a library call on machines
// the compiler may not assume a population count instruction of).
int32_t BitsSet(uint64_t word) {
  word -= (word >> 1) & 0x5555555555555555u;
  word = (word & 0x3333333333333333u) + ((word >> 2) & 0x3333333333333333u);
  word = (word + (word >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int32_t>((word * 0x0101010101010101u) >> 56);
}

// The first tile from `from` on in a row of tiles that is marked (`marked`)
// or unmarked; past the row's last word when there is none. The bits past
// the last column are never marked.
int32_t NextTile(const uint64_t* line, int32_t words, int32_t from, bool marked) {
  int32_t word = from / 64;
  if (word >= words) return words * 64;
  uint64_t bits = (marked ? line[word] : ~line[word]) & (~uint64_t{0} << (from % 64));
  while (bits == 0) {
    if (++word == words) return words * 64;
    bits = marked ? line[word] : ~line[word];
  }
  return word * 64 + std::countr_zero(bits);
}

// The frame pixels under `count` tiles of row `row`: the last column of
// tiles and the last row may be cut short by the frame's edge.
int64_t AreaOfTiles(const TileGrid& grid, int32_t row, int64_t count, bool lastColumnAmong) {
  const int32_t side = grid.tileSide;
  int64_t width = count * side;
  if (lastColumnAmong) width -= int64_t{side} * grid.columns - grid.width;
  return width * (std::min((row + 1) * side, grid.height) - row * side);
}

// Marks the tiles `areas` touch, a row of tiles at a time, and adds the area
// of the newly marked tiles (cut to the frame) to `markedArea`. Stops,
// answering false, as soon as the marked area is over `areaLimit`: a frame
// that goes whole costs no more than that.
bool MarkTiles(const std::vector<Rect>& areas, const TileGrid& grid, std::vector<uint64_t>& tiles,
               int64_t& markedArea, int64_t areaLimit) {
  const int32_t side = grid.tileSide;
  const int32_t lastColumn = grid.columns - 1;
  for (const Rect& area : areas) {
    const int32_t left = std::max(area.left, 0);
    const int32_t top = std::max(area.top, 0);
    const int32_t right = std::min(area.right, grid.width);
    const int32_t bottom = std::min(area.bottom, grid.height);
    if (left >= right || top >= bottom) continue;
    const int32_t first = left / side;
    const int32_t last = (right - 1) / side;
    for (int32_t row = top / side; row <= (bottom - 1) / side; ++row) {
      uint64_t* line = tiles.data() + static_cast<size_t>(row) * grid.words;
      int64_t fresh = 0;
      uint64_t lastAdded = 0;
      for (int32_t word = first / 64; word <= last / 64; ++word) {
        const uint64_t span =
            BitsFromTo(word == first / 64 ? first % 64 : 0, word == last / 64 ? last % 64 : 63);
        lastAdded = span & ~line[word];
        fresh += BitsSet(lastAdded);
        line[word] |= span;
      }
      if (fresh == 0) continue;
      markedArea += AreaOfTiles(grid, row, fresh,
                                last == lastColumn && ((lastAdded >> (last % 64)) & 1) != 0);
      if (markedArea > areaLimit) return false;
    }
  }
  return true;
}

// The frame pixels under the marked tiles.
int64_t AreaOfMarked(const TileGrid& grid, const std::vector<uint64_t>& tiles) {
  const int32_t lastColumn = grid.columns - 1;
  int64_t area = 0;
  for (int32_t row = 0; row < grid.rows; ++row) {
    const uint64_t* line = tiles.data() + static_cast<size_t>(row) * grid.words;
    int64_t marked = 0;
    for (int32_t word = 0; word < grid.words; ++word) marked += BitsSet(line[word]);
    area += AreaOfTiles(grid, row, marked, ((line[lastColumn / 64] >> (lastColumn % 64)) & 1) != 0);
  }
  return area;
}

// The marked tiles as rectangles: runs of marked tiles along each row of
// tiles, joined with the rows below while they span the same columns.
std::vector<Rect> CoverOfMarked(const TileGrid& grid, const std::vector<uint64_t>& tiles) {
  std::vector<Rect> cover;
  // Runs of the row of tiles above that are still open: a run below with the
  // same columns extends one of them downwards instead of starting anew.
  std::vector<size_t> open;
  std::vector<size_t> stillOpen;
  const int32_t side = grid.tileSide;
  for (int32_t row = 0; row < grid.rows; ++row) {
    const uint64_t* line = tiles.data() + static_cast<size_t>(row) * grid.words;
    const int32_t top = row * side;
    const int32_t bottom = std::min(top + side, grid.height);
    stillOpen.clear();
    size_t nextOpen = 0;
    for (int32_t column = NextTile(line, grid.words, 0, true); column < grid.columns;
         column = NextTile(line, grid.words, column, true)) {
      const int32_t end = std::min(NextTile(line, grid.words, column, false), grid.columns);
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
                            std::vector<uint64_t>& scratch) {
  if (width <= 0 || height <= 0 || tileSide <= 0) return {};
  const TileGrid grid = GridOf(width, height, tileSide);
  scratch.assign(BitsOf(grid), 0);
  int64_t area = 0;
  const int64_t noLimit = int64_t{width} * height;
  MarkTiles(first, grid, scratch, area, noLimit);
  MarkTiles(second, grid, scratch, area, noLimit);
  return CoverOfMarked(grid, scratch);
}

std::optional<std::vector<Rect>> FrameChanges::next(const SurfacePixels& frame) {
  const int32_t width = frame.sdl->w;
  const int32_t height = frame.sdl->h;
  const TileGrid grid = GridOf(width, height, kTileSide);
  const int64_t limit = int64_t{width} * height * kWholeNumerator / kWholeDenominator;
  // This frame's tiles, kept for the next frame: its drawing is marked once.
  bool marked = false;
  if (frame.clearKnown) {
    tiles_.assign(BitsOf(grid), 0);
    int64_t area = 0;
    marked = MarkTiles(frame.drawn, grid, tiles_, area, limit);
  }
  const bool comparable = previousKnown_ && marked && frame.clearValue == previousClear_ &&
                          width == previousWidth_ && height == previousHeight_;
  std::optional<std::vector<Rect>> changes;
  if (comparable) {
    // Both frames' tiles, in the previous frame's bits, which are not
    // needed after.
    for (size_t i = 0; i < previousTiles_.size(); ++i) previousTiles_[i] |= tiles_[i];
    if (AreaOfMarked(grid, previousTiles_) <= limit) changes = CoverOfMarked(grid, previousTiles_);
  }
  previousKnown_ = marked;
  previousClear_ = frame.clearValue;
  previousWidth_ = width;
  previousHeight_ = height;
  previousTiles_.swap(tiles_);
  return changes;
}

}  // namespace grazefall::platform::software
