// The stretches of a colour-keyed picture that are not the key, row by row.
// Sprites are drawn from sheets that are written once and drawn keyed every
// frame; with the stretches found beforehand, drawing a sprite copies them
// and never looks at a key pixel. Any rectangle of the sheet is reached
// directly, so a frame in the middle of a large sheet costs no more than one
// at its corner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/types.h"

struct SDL_Surface;
struct SDL_Rect;

namespace grazefall::platform::software {

class KeyedRuns {
 public:
  // The stretches of `picture` whose pixel values differ from `key`.
  KeyedRuns(const SDL_Surface* picture, uint32_t key);

  // Copies the pixels of `source` (inside `picture`, the surface these runs
  // were found in, unchanged since) that are not the key to `to` with the
  // rectangle's corner at (x, y). The rectangle placed there must lie inside
  // `to`, which has the picture's pixel format and is not the picture.
  // Returns the smallest rectangle of `to` holding every pixel written
  // (empty when the source rectangle is all key): the transparent margins
  // of a sprite's cell need no clearing after it, and never change.
  Rect draw(const SDL_Surface* picture, const SDL_Rect& source, SDL_Surface* to, int32_t x,
            int32_t y) const;

 private:
  struct Run {
    int32_t left, right;  // columns, right exclusive
  };
  // Row r's stretches are runs_[rowStart_[r] .. rowStart_[r + 1]), left to right.
  std::vector<uint32_t> rowStart_;
  std::vector<Run> runs_;

  // One stretch of a rectangle cut from the picture, as bytes to copy: its
  // row in the rectangle, its start in the picture's memory and in that row.
  struct Span {
    uint32_t row, sourceByte, targetByte, bytes;
  };
  // The stretches of one source rectangle, worked out when it is first drawn.
  struct Cut {
    int32_t x, y, w, h;
    std::vector<Span> spans;
    // The spans' extent, relative to the rectangle's corner.
    Rect inked;
  };
  // A sprite sheet holds a few dozen frames; more rectangles than this start
  // the list afresh.
  static constexpr size_t kMaxCuts = 256;
  const Cut& cutOf(const SDL_Surface* picture, const SDL_Rect& source) const;
  mutable std::vector<Cut> cuts_;
  mutable size_t lastCut_ = 0;
};

}  // namespace grazefall::platform::software
