// The Linux saver's cursor: its position as the window system reads it from
// X, and its image shown or hidden with SDL once the window system is open.
#pragma once

#include <cstdint>

#include "platform/cursor.h"
#include "platform/sdl/sdl_window_system.h"

namespace grazefall::platform::sdl {

class SdlCursor : public Cursor {
 public:
  explicit SdlCursor(SdlWindowSystem& windows) : windows_(windows) {}

  Point position() override;
  void hideImage() override;
  int32_t show(bool show) override;

 private:
  SdlWindowSystem& windows_;
  int32_t displayCount_ = 0;
};

}  // namespace grazefall::platform::sdl
