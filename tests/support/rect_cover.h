// How many of a list of rectangles hold a pixel, for tests of routines that
// must cover a set of pixels exactly once.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace grazefall::testing {

inline int Covering(const std::vector<platform::Rect>& rects, int32_t x, int32_t y) {
  int count = 0;
  for (const platform::Rect& r : rects) {
    count += x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  }
  return count;
}

}  // namespace grazefall::testing
