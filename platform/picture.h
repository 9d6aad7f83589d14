// A decoded bitmap: what a program resource or a .bmp file holds once read,
// before it is converted into a surface of the display's pixel format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace grazefall::platform {

struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  // Row-major, top row first, one ColorRef (0x00BBGGRR) per pixel.
  std::vector<ColorRef> pixels;

  ColorRef at(int32_t x, int32_t y) const {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
};

}  // namespace grazefall::platform
