// How many of the rectangles hold the pixel (x, y).
#pragma once

#include <algorithm>
#include <vector>

#include "platform/types.h"

namespace grazefall::testing {

inline int Covering(const std::vector<platform::Rect>& rects, int32_t x, int32_t y) {
  return static_cast<int>(std::count_if(rects.begin(), rects.end(), [x, y](const auto& r) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  }));
}

}  // namespace grazefall::testing
