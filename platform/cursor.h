// The mouse cursor as the core sees it: where it is, its image over the saver
// window, and the display count that shows or hides it. Reached through
// Platform::cursor().
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace grazefall::platform {

class Cursor {
 public:
  virtual ~Cursor() = default;

  // Where the cursor is, in screen pixels.
  virtual Point position() = 0;
  // SetCursor (NULL): no cursor image over the window.
  virtual void hideImage() = 0;
  // ShowCursor: raises (true) or lowers (false) the cursor's display count;
  // the cursor image shows while the count is 0 or more. Returns the count.
  virtual int32_t show(bool show) = 0;
};

}  // namespace grazefall::platform
