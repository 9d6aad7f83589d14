// The Linux saver's clock: SDL's millisecond ticks and delay, and the C
// library's calendar time.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace grazefall::platform::sdl {

class SdlClock : public Clock {
 public:
  uint32_t tickCount() override;
  void sleepMs(uint32_t milliseconds) override;
  int64_t timeSeconds() override;
};

}  // namespace grazefall::platform::sdl
