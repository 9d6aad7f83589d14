// The Linux saver's clock: SDL's millisecond ticks and delay, and the C
// library's calendar time, or a calendar time held at one second.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/clock.h"

namespace grazefall::platform::sdl {

class SdlClock : public Clock {
 public:
  // `heldTime`: the seconds the calendar time stays at, when set.
  explicit SdlClock(std::optional<int64_t> heldTime = std::nullopt) : heldTime_(heldTime) {}

  uint32_t tickCount() override;
  void sleepMs(uint32_t milliseconds) override;
  int64_t timeSeconds() override;

 private:
  std::optional<int64_t> heldTime_;
};

}  // namespace grazefall::platform::sdl
