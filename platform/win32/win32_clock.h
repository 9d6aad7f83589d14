// The Windows program's clock: the kernel's tick count and Sleep, and the C
// library's calendar time.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace grazefall::platform::win32 {

class Win32Clock : public Clock {
 public:
  uint32_t tickCount() override;
  void sleepMs(uint32_t milliseconds) override;
  int64_t timeSeconds() override;
};

}  // namespace grazefall::platform::win32
