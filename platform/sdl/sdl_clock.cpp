#include "platform/sdl/sdl_clock.h"

#include <SDL.h>

#include <ctime>

namespace grazefall::platform::sdl {

uint32_t SdlClock::tickCount() {
  return SDL_GetTicks();
}

void SdlClock::sleepMs(uint32_t milliseconds) {
  SDL_Delay(milliseconds);
}

int64_t SdlClock::timeSeconds() {
  if (heldTime_) return *heldTime_;
  return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace grazefall::platform::sdl
