#include "sprites/blit_rects.h"

#include <limits>

namespace grazefall {
namespace {

bool FitsInt32(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() &&
         value <= std::numeric_limits<int32_t>::max();
}

}  // namespace

bool RectFromSize(int64_t left, int64_t top, int64_t width, int64_t height, platform::Rect* rect) {
  const int64_t right = left + width;
  const int64_t bottom = top + height;
  if (!FitsInt32(left) || !FitsInt32(top) || !FitsInt32(right) || !FitsInt32(bottom)) {
    return false;
  }
  *rect = platform::Rect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                         static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
  return true;
}

int32_t CheckedBlit(platform::Surface& target, const platform::Rect& destination,
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
