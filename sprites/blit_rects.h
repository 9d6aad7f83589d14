// Rectangle checks shared by everything that blits a picture: edges computed
// wide so no caller's arithmetic can overflow, and the blitter's refusal of a
// source rectangle that is empty or reaches outside the source picture.
#pragma once

#include <cstdint>

#include "platform/surface.h"
#include "platform/types.h"

namespace grazefall {

// The rectangle (left, top, left + width, top + height) computed in 64 bits;
// false when an edge leaves the int32 range.
bool RectFromSize(int64_t left, int64_t top, int64_t width, int64_t height, platform::Rect* rect);

// One blit from `from` onto `target`, refused (kEFail, nothing drawn) when the
// source rectangle is empty or not inside `from`, or the destination is empty.
// The destination may reach beyond the target: the target cuts it.
int32_t CheckedBlit(platform::Surface& target, const platform::Rect& destination,
                    platform::Surface& from, const platform::Rect& source, bool keyed);

}  // namespace grazefall
