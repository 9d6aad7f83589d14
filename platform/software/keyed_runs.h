// The stretches of a colour-keyed picture that are not the key, row by row.
// Sprites are drawn from sheets that are written once and drawn keyed every
// frame; with the stretches found beforehand, drawing a sprite copies them
// and never looks at a key pixel. Any rectangle of the sheet is reached
// directly, so a frame in the middle of a large sheet costs no more than one
// at its corner.
#pragma once

#include <cstdint>
#include <vector>

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
  void draw(const SDL_Surface* picture, const SDL_Rect& source, SDL_Surface* to, int32_t x,
            int32_t y) const;

 private:
  struct Run {
    int32_t left, right;  // columns, right exclusive
  };
  // Row r's stretches are runs_[rowStart_[r] .. rowStart_[r + 1]), left to right.
  std::vector<uint32_t> rowStart_;
  std::vector<Run> runs_;
};

}  // namespace grazefall::platform::software
