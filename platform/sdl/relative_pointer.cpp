#include "platform/sdl/relative_pointer.h"

namespace grazefall::platform::sdl {

bool RelativePointer::moveTo(uint32_t windowId, int32_t x, int32_t y) {
  const Point now{x, y};
  // Another window (another output) has its own coordinates: coming into it
  // is an entry.
  if (!last_ || last_->windowId != windowId) {
    last_ = Seen{windowId, now};
    return false;
  }
  if (now == last_->at) return false;
  position_.x += now.x - last_->at.x;
  position_.y += now.y - last_->at.y;
  last_->at = now;
  return true;
}

}  // namespace grazefall::platform::sdl
