// The pointer's position where the display server keeps it to itself
// (Wayland): the motion inside the saver's windows summed from where the
// pointer entered, so the closing rules measure how far it has moved.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace grazefall::platform::sdl {

class RelativePointer {
 public:
  // The pointer came into a window (or left one): its next position there is
  // where it came in, not a move.
  void enter() { last_.reset(); }
  // The pointer is at (x, y) in window `windowId`. True when it has moved
  // since the last position in the same window; the move is added.
  bool moveTo(uint32_t windowId, int32_t x, int32_t y);
  // The summed motion since the start, (0, 0) before any.
  Point position() const { return position_; }

 private:
  struct Seen {
    uint32_t windowId;
    Point at;
  };
  std::optional<Seen> last_;
  Point position_{};
};

}  // namespace grazefall::platform::sdl
