// Pictures for tests: well-formed sprite sheets (transparent top-left pixel,
// one-pixel separator grid, a small cow in every frame whose middle carries a
// colour unique to the frame), plain pictures, and a writer of 24-bit .bmp
// files. Header-only, so any test folder can use it without a library.
//
// The colours are chosen to stay distinct in every display depth, 8 bits
// included, so a sheet measures and keys the same way in each mode.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "platform/types.h"

namespace grazefall::testing {

constexpr platform::ColorRef kSheetTransparent = platform::Rgb(255, 0, 255);
constexpr platform::ColorRef kSheetSeparator = platform::Rgb(0, 0, 255);
constexpr platform::ColorRef kCowWhite = platform::Rgb(255, 255, 255);
constexpr platform::ColorRef kCowSpot = platform::Rgb(0, 0, 0);

struct SheetLayout {
  int32_t columns = 1;
  int32_t rows = 1;
  int32_t frameWidth = 16;
  int32_t frameHeight = 11;
  platform::ColorRef transparent = kSheetTransparent;
  platform::ColorRef separator = kSheetSeparator;
};

// A colour per frame index (reading order, from 0), distinct for 49 frames
// and from the transparent, separator, white and spot colours in every depth.
constexpr platform::ColorRef FrameMarkColor(int32_t index) {
  return platform::Rgb(static_cast<uint8_t>(0x20 * (1 + index % 7)),
                       static_cast<uint8_t>(0x20 * (1 + (index / 7) % 7)), 0x80);
}

// Sheet coordinates of the centre pixel of frame (column counted from 1, row
// from 0): the pixel that carries the frame's mark colour.
constexpr int32_t FrameCentreX(const SheetLayout& layout, int32_t column) {
  return (layout.frameWidth + 1) * (column - 1) + 1 + layout.frameWidth / 2;
}
constexpr int32_t FrameCentreY(const SheetLayout& layout, int32_t row) {
  return (layout.frameHeight + 1) * row + 1 + layout.frameHeight / 2;
}

inline platform::Picture SolidPicture(int32_t width, int32_t height, platform::ColorRef color) {
  platform::Picture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), color);
  return picture;
}

inline void PutPixel(platform::Picture& picture, int32_t x, int32_t y, platform::ColorRef color) {
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return;
  picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) +
                 static_cast<size_t>(x)] = color;
}

// One frame's cow, drawn into the frame whose top-left pixel is (left, top):
// a white oval body on the transparent colour, a few black spots, and the
// frame's mark colour in a small block at its centre (a single pixel in tiny
// frames). The frame's corners stay transparent.
inline void DrawCowFrame(platform::Picture& picture, const SheetLayout& layout, int32_t left,
                         int32_t top, int32_t index) {
  const int32_t fw = layout.frameWidth;
  const int32_t fh = layout.frameHeight;
  const double cx = (fw - 1) / 2.0;
  const double cy = (fh - 1) / 2.0;
  const double rx = fw / 2.0;
  const double ry = fh / 2.0;
  for (int32_t y = 0; y < fh; ++y) {
    for (int32_t x = 0; x < fw; ++x) {
      const double nx = (x - cx) / rx;
      const double ny = (y - cy) / ry;
      if (nx * nx + ny * ny > 0.8) continue;
      const bool spot = ((x / 3) + (y / 2)) % 4 == 0;
      PutPixel(picture, left + x, top + y, spot ? kCowSpot : kCowWhite);
    }
  }
  const int32_t mx = fw / 2;
  const int32_t my = fh / 2;
  for (int32_t y = my - 1; y <= my + 1; ++y) {
    for (int32_t x = mx - 1; x <= mx + 1; ++x) {
      if (x >= 1 && y >= 1 && x < fw - 1 && y < fh - 1) {
        PutPixel(picture, left + x, top + y, FrameMarkColor(index));
      }
    }
  }
  PutPixel(picture, left + mx, top + my, FrameMarkColor(index));
}

// A well-formed sheet: columns * (fw + 1) + 1 by rows * (fh + 1) + 1 pixels,
// `extraRight` and `extraBottom` transparent pixels beyond the last frame.
inline platform::Picture DrawSheet(const SheetLayout& layout, int32_t extraRight = 0,
                                   int32_t extraBottom = 0) {
  const int32_t width = layout.columns * (layout.frameWidth + 1) + 1 + extraRight;
  const int32_t height = layout.rows * (layout.frameHeight + 1) + 1 + extraBottom;
  platform::Picture picture = SolidPicture(width, height, layout.transparent);
  const int32_t gridRight = layout.columns * (layout.frameWidth + 1);
  const int32_t gridBottom = layout.rows * (layout.frameHeight + 1);
  for (int32_t x = 0; x <= gridRight; x += layout.frameWidth + 1) {
    for (int32_t y = 0; y <= gridBottom; ++y) PutPixel(picture, x, y, layout.separator);
  }
  for (int32_t y = 0; y <= gridBottom; y += layout.frameHeight + 1) {
    for (int32_t x = 0; x <= gridRight; ++x) PutPixel(picture, x, y, layout.separator);
  }
  PutPixel(picture, 0, 0, layout.transparent);
  for (int32_t row = 0; row < layout.rows; ++row) {
    for (int32_t column = 1; column <= layout.columns; ++column) {
      DrawCowFrame(picture, layout, (layout.frameWidth + 1) * (column - 1) + 1,
                   (layout.frameHeight + 1) * row + 1, row * layout.columns + (column - 1));
    }
  }
  return picture;
}

// Writes the picture as an uncompressed bottom-up 24-bit .bmp; false when the
// file cannot be written.
inline bool WriteBmp24(const std::string& path, const platform::Picture& picture) {
  const uint32_t rowBytes = (static_cast<uint32_t>(picture.width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(picture.height);
  std::vector<uint8_t> bytes;
  auto put16 = [&](uint32_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto put32 = [&](uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  put16(0x4D42);  // "BM"
  put32(14 + 40 + imageBytes);
  put32(0);
  put32(14 + 40);
  put32(40);
  put32(static_cast<uint32_t>(picture.width));
  put32(static_cast<uint32_t>(picture.height));
  put16(1);
  put16(24);
  put32(0);  // no compression
  put32(imageBytes);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (int32_t y = picture.height - 1; y >= 0; --y) {
    uint32_t written = 0;
    for (int32_t x = 0; x < picture.width; ++x) {
      const platform::ColorRef c = picture.at(x, y);
      bytes.push_back(platform::BlueOf(c));
      bytes.push_back(platform::GreenOf(c));
      bytes.push_back(platform::RedOf(c));
      written += 3;
    }
    for (; written < rowBytes; ++written) bytes.push_back(0);
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace grazefall::testing
