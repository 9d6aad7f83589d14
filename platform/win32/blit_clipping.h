// Cutting a blit to a destination's bounds. DirectDraw refuses a blit whose
// rectangles leave their surfaces, but a sprite partly off the screen must
// still show its visible part: the destination is cut to the bounds and the
// source shrinks in proportion, so a scaled blit keeps its scale.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/types.h"

namespace grazefall::platform::win32 {

// False when nothing of the blit is left to draw (or a rectangle is empty).
inline bool ClipBlit(Rect* destination, Rect* source, const Rect& bounds) {
  // Sizes in 64 bits: far-apart edges would overflow Rect's own width().
  const int64_t destinationWidth = int64_t{destination->right} - destination->left;
  const int64_t destinationHeight = int64_t{destination->bottom} - destination->top;
  const int64_t sourceWidth = int64_t{source->right} - source->left;
  const int64_t sourceHeight = int64_t{source->bottom} - source->top;
  if (destinationWidth <= 0 || destinationHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
    return false;
  }
  const int64_t cutLeft = std::max<int64_t>(0, int64_t{bounds.left} - destination->left);
  const int64_t cutTop = std::max<int64_t>(0, int64_t{bounds.top} - destination->top);
  const int64_t cutRight = std::max<int64_t>(0, int64_t{destination->right} - bounds.right);
  const int64_t cutBottom = std::max<int64_t>(0, int64_t{destination->bottom} - bounds.bottom);
  if (cutLeft + cutRight >= destinationWidth || cutTop + cutBottom >= destinationHeight) {
    return false;
  }
  Rect clippedSource{
      static_cast<int32_t>(source->left + cutLeft * sourceWidth / destinationWidth),
      static_cast<int32_t>(source->top + cutTop * sourceHeight / destinationHeight),
      static_cast<int32_t>(source->right - cutRight * sourceWidth / destinationWidth),
      static_cast<int32_t>(source->bottom - cutBottom * sourceHeight / destinationHeight)};
  if (clippedSource.right <= clippedSource.left || clippedSource.bottom <= clippedSource.top) {
    return false;
  }
  destination->left = static_cast<int32_t>(destination->left + cutLeft);
  destination->top = static_cast<int32_t>(destination->top + cutTop);
  destination->right = static_cast<int32_t>(destination->right - cutRight);
  destination->bottom = static_cast<int32_t>(destination->bottom - cutBottom);
  *source = clippedSource;
  return true;
}

}  // namespace grazefall::platform::win32
