#include "platform/win32/win32_clock.h"

#include <windows.h>

#include <ctime>

namespace grazefall::platform::win32 {

uint32_t Win32Clock::tickCount() {
  return GetTickCount();
}

void Win32Clock::sleepMs(uint32_t milliseconds) {
  Sleep(milliseconds);
}

int64_t Win32Clock::timeSeconds() {
  return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace grazefall::platform::win32
