// Rectangle checks shared by everything that blits a picture: edges computed
// wide so no caller's arithmetic can overflow, and the blitter's refusal of a
// source rectangle that is empty or reaches outside the source picture.
// Defined here so the thousands of blits of a frame pay no call for them.
#pragma once

#include <cstdint>
#include <limits>

#include "platform/surface.h"
#include "platform/types.h"

namespace grazefall {

namespace blit_detail {
inline bool FitsInt32(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() &&
         value <= std::numeric_limits<int32_t>::max();
}
}  // namespace blit_detail

// The rectangle (left, top, left + width, top + height) computed in 64 bits;
// false when an edge leaves the int32 range.
inline bool RectFromSize(int64_t left, int64_t top, int64_t width, int64_t height,
                         platform::Rect* rect) {
  const int64_t right = left + width;
  const int64_t bottom = top + height;
  if (!blit_detail::FitsInt32(left) || !blit_detail::FitsInt32(top) ||
      !blit_detail::FitsInt32(right) || !blit_detail::FitsInt32(bottom)) {
    return false;
  }
  *rect = platform::Rect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                         static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
  return true;
}

// One blit from `from` onto `target`, refused (kEFail, nothing drawn) when the
// source rectangle is empty or not inside `from`, or the destination is empty.
// The destination may reach beyond the target: the target cuts it.
inline int32_t CheckedBlit(platform::Surface& target, const platform::Rect& destination,
                           platform::Surface& from, const platform::Rect& source, bool keyed) {
  if (destination.right <= destination.left || destination.bottom <= destination.top) {
    return platform::kEFail;
  }
  if (source.right <= source.left || source.bottom <= source.top) return platform::kEFail;
  if (source.left < 0 || source.top < 0 || source.right > from.width() ||
      source.bottom > from.height()) {
    return platform::kEFail;
  }
  return target.blit(destination, from, source, keyed);
}

}  // namespace grazefall
