// Plain values shared by the core and every platform backend: status codes,
// colours, points, rectangles and display modes. No backend type ever appears here.
#pragma once

#include <cstdint>

namespace grazefall::platform {

// Status results: 0 is success; the options store fails with E_FAIL.
constexpr int32_t kOk = 0;
constexpr int32_t kEFail = static_cast<int32_t>(0x80004005u);

// A GDI-style colour value, 0x00BBGGRR.
using ColorRef = uint32_t;
// "No colour": a read outside a surface, or "whatever pixel (0, 0) holds".
constexpr ColorRef kClrInvalid = 0xFFFFFFFFu;

constexpr ColorRef Rgb(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<ColorRef>(red) | (static_cast<ColorRef>(green) << 8) |
         (static_cast<ColorRef>(blue) << 16);
}
constexpr uint8_t RedOf(ColorRef c) {
  return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GreenOf(ColorRef c) {
  return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(ColorRef c) {
  return static_cast<uint8_t>((c >> 16) & 0xFF);
}

// Left, top, right, bottom; right and bottom exclusive.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  constexpr int32_t width() const { return right - left; }
  constexpr int32_t height() const { return bottom - top; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct DisplayMode {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitDepth = 0;
  friend constexpr bool operator==(const DisplayMode&, const DisplayMode&) = default;
};

// A position in screen pixels.
struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

// An opaque window handle, as the command line and the host pass it around.
using WindowHandle = uintptr_t;

}  // namespace grazefall::platform
