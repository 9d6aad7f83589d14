// Bitmaps through GDI: a BITMAP resource of the program by id, or a .bmp file
// by path, loaded as a DIB section and read out as colours.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/picture.h"

namespace grazefall::platform::win32 {

// Pictures larger than this many pixels are refused rather than allocated.
constexpr int64_t kLargestPicturePixels = int64_t{16384} * 16384;

// The colours of a bitmap; nullopt when GDI cannot read it.
std::optional<Picture> PictureFromBitmap(HBITMAP bitmap);

std::optional<Picture> LoadResourceBitmap(HINSTANCE module, int32_t resourceId);
std::optional<Picture> LoadBitmapFile(std::string_view path);

}  // namespace grazefall::platform::win32
