// A drawable picture in the display's pixel format: the primary, its back
// buffer, or an off-screen surface holding a loaded picture.
//
// Every operation behaves as the animation expects of a display surface:
//   - blits copy a source rectangle onto a destination rectangle, scaling when
//     the sizes differ; keyed blits skip source pixels equal to the source's
//     colour key; the destination is cut to the target's clip list (or to the
//     target's own bounds when it has none), so partly off-screen drawing shows
//     the visible part;
//   - pixel reads and writes speak ColorRef and convert to the surface's format
//     exactly as a picture copy does, so a colour key taken from pixel (0, 0)
//     matches every pixel of that colour;
//   - reads outside the surface answer kClrInvalid.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/picture.h"
#include "platform/types.h"

namespace grazefall::platform {

class Font;

class Surface {
 public:
  virtual ~Surface() = default;

  virtual int32_t width() const = 0;
  virtual int32_t height() const = 0;
  // Bits per pixel of the surface's format: 8, 16, 24 or 32.
  virtual int32_t bitDepth() const = 0;

  // Fills every pixel with a pixel value of the surface's own format.
  virtual int32_t fill(uint32_t pixelValue) = 0;
  // Copies `source` rectangle of `from` onto `destination` of this surface.
  // Returns kOk, or a failure (for example when `from` has no pixels).
  virtual int32_t blit(const Rect& destination, Surface& from, const Rect& source, bool keyed) = 0;

  // The rectangles later blits onto this surface are cut to. An empty list
  // removes clipping to a region (blits are still cut to the surface).
  virtual int32_t setClipList(std::span<const Rect> rectangles) = 0;

  // Source colour key, one pixel value of the surface's format.
  virtual void setColorKey(uint32_t pixelValue) = 0;
  virtual bool hasColorKey() const = 0;
  virtual uint32_t colorKey() const = 0;

  // GDI-style single-pixel access.
  virtual ColorRef getPixel(int32_t x, int32_t y) const = 0;
  // Writes the nearest colour the format has; returns the colour written or
  // kClrInvalid outside the surface.
  virtual ColorRef setPixel(int32_t x, int32_t y, ColorRef color) = 0;

  // The pixel value of the surface's format that `color` is drawn as: what a
  // colour key must hold to match it. kClrInvalid names no colour and asks
  // for the value pixel (0, 0) holds now. No pixel changes. kClrInvalid when
  // the surface's memory cannot be read.
  virtual uint32_t pixelValueOf(ColorRef color) = 0;

  // StretchBlt of `source` rectangle of the picture onto the whole surface,
  // converting every pixel to the surface's format.
  virtual int32_t drawPicture(const Picture& picture, const Rect& source) = 0;

  // One line of text with its top-left corner at (x, y). `font` may be null:
  // the backend's default font is used. `transparent` false puts the text on
  // a black box. Clipped to the surface.
  virtual int32_t drawText(int32_t x, int32_t y, std::string_view text, const Font* font,
                           ColorRef color, bool transparent) = 0;

  // Makes sure the surface's memory exists before it is written.
  virtual void restore() {}
};

}  // namespace grazefall::platform
