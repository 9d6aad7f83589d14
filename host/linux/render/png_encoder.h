// Frames as PNG files: 8-bit RGB, no interlace, no timestamps or other
// chunks, so the same pixels always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "platform/surface.h"

namespace grazefall {

// The surface's pixels as a picture (what a screen shot of it would show).
platform::Picture CapturePicture(const platform::Surface& surface);

// The PNG file image of the picture; empty when it cannot be encoded.
std::vector<uint8_t> EncodePng(const platform::Picture& picture);

// Writes the PNG of the picture to `path`; false when the file cannot be
// written whole.
bool WritePngFile(const std::string& path, const platform::Picture& picture);

}  // namespace grazefall
