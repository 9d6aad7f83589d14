// A clock in memory that only moves when a test tells it to; sleeping adds up
// the time slept instead of waiting.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace grazefall::platform {

class HeadlessClock : public Clock {
 public:
  explicit HeadlessClock(uint32_t startTicks = 0) : ticks_(startTicks) {}

  // --- What a test arranges ---
  void advance(uint32_t milliseconds) { ticks_ += milliseconds; }
  void setTimeSeconds(int64_t seconds) { seconds_ = seconds; }

  // --- What a test reads back ---
  uint64_t totalSleptMs() const { return sleptMs_; }

  // --- Clock ---
  uint32_t tickCount() override { return ticks_; }
  void sleepMs(uint32_t milliseconds) override { sleptMs_ += milliseconds; }
  int64_t timeSeconds() override { return seconds_; }

 private:
  uint32_t ticks_;
  uint64_t sleptMs_ = 0;
  int64_t seconds_ = 0;
};

}  // namespace grazefall::platform
