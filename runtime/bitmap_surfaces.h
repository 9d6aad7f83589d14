// Turning a bitmap (a program resource or a .bmp file) into an off-screen
// surface in the display's pixel format, with its colour key.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "platform/display_device.h"
#include "platform/picture.h"
#include "platform/platform.h"
#include "platform/surface.h"
#include "platform/types.h"

namespace grazefall {

// A bitmap resource id, or a file path.
using BitmapName = std::variant<int32_t, std::string>;

// A new off-screen surface holding the picture (loaded from `system`) at its
// own size (width and height 0) or stretched to the size asked; null when the
// bitmap cannot be loaded or the surface cannot be made.
std::unique_ptr<platform::Surface> CreateSurfaceFromBitmap(platform::Platform& system,
                                                           platform::DisplayDevice* directDraw,
                                                           const BitmapName& name, int32_t width,
                                                           int32_t height);

// Copies the (x, y, width, height) rectangle of the picture (0 = the full
// width or height) stretched onto the whole surface. kEFail when either is
// missing; a picture that cannot be read is also told to `system`'s debug
// output.
int32_t CopyBitmapToSurface(platform::Platform& system, platform::Surface* surface,
                            const platform::Picture* picture, int32_t x, int32_t y, int32_t width,
                            int32_t height);

// Sets the surface's source colour key to the pixel value `color` has on it
// (kClrInvalid: whatever pixel (0, 0) holds). A missing surface is let be.
void SetColorKeyFromColor(platform::Surface* surface, platform::ColorRef color);

}  // namespace grazefall
