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
#include <string_view>

#include "platform/picture.h"

namespace grazefall::platform::software {

constexpr int32_t kMaxBitmapSide = 16384;
constexpr uint64_t kMaxBitmapBytes = uint64_t{256} << 20;

std::optional<Picture> DecodeBmp(std::span<const uint8_t> bytes);

// Reads the file at `path` (at most kMaxBitmapBytes plus headers) and decodes it.
std::optional<Picture> LoadBmpFile(std::string_view path);

}  // namespace grazefall::platform::software
