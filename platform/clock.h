// The clock the core reads and sleeps on: the millisecond tick count that
// paces frames and password retries, a sleep, and the calendar seconds that
// seed the herd. Reached through Platform::clock().
#pragma once

#include <cstdint>

namespace grazefall::platform {

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds since an arbitrary start, wrapping at 2^32.
  virtual uint32_t tickCount() = 0;
  virtual void sleepMs(uint32_t milliseconds) = 0;
  // Seconds since the epoch.
  virtual int64_t timeSeconds() = 0;
};

}  // namespace grazefall::platform
