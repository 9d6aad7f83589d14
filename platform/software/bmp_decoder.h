// Reads Windows bitmap (.bmp) files and resources into a Picture: 1, 2, 4 and
// 8 bits with a colour table, RLE4 and RLE8, 16 and 32 bits plain or with
// BITFIELDS masks, 24 bits, bottom-up and top-down rows, and the OS/2 1.x,
// BITMAPINFOHEADER, V2/V3, V4 and V5 headers. Anything truncated, corrupt,
// larger than the limits below, or not a bitmap gives no picture; the decoder
// never reads outside the bytes it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/picture.h"

namespace grazefall::platform::software {

constexpr int32_t kMaxBitmapSide = 16384;
constexpr uint64_t kMaxBitmapBytes = uint64_t{256} << 20;
// A picture file is shown on a display, so it may be no wider or taller than
// the largest display mode.
constexpr int32_t kMaxPictureFileSide = 8192;
// Headers, a full colour table and the largest picture allowed.
constexpr uint64_t kMaxBitmapFileBytes = kMaxBitmapBytes + 4096;

std::optional<Picture> DecodeBmp(std::span<const uint8_t> bytes);

// A picture file read, or why it could not be: `problem` is a short phrase
// for a person ("no such file", "a FIFO, not a picture file", "truncated
// ...", "not a BMP file", ...).
struct BmpFile {
  std::optional<Picture> picture;
  std::string problem;
};

// Reads and decodes the regular file at `path`, no side over
// kMaxPictureFileSide. Anything else (a FIFO, a device, a directory) is
// refused before it is opened for reading, and the header's sizes are
// checked against the file's size before the pixels are read.
BmpFile ReadBmpFile(std::string_view path);
// ReadBmpFile's picture alone.
std::optional<Picture> LoadBmpFile(std::string_view path);

}  // namespace grazefall::platform::software
