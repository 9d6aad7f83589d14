#include "platform/sdl/frame_counter.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace grazefall::platform::sdl {

std::unique_ptr<FrameCounter> FrameCounter::FromEnvironment() {
  const char* wanted = std::getenv("GRAZEFALL_FRAME_STATS");
  if (wanted == nullptr || *wanted == '\0') return nullptr;
  return std::make_unique<FrameCounter>();
}

void FrameCounter::count(bool whole) {
  ++frames_;
  if (whole) ++wholeFrames_;
  const uint32_t now = SDL_GetTicks();
  if (frames_ != 1 && now - lastReport_ < 1000) return;
  lastReport_ = now;
  std::fprintf(stderr, "grazefall-frames: %llu %u %llu\n", static_cast<unsigned long long>(frames_),
               now, static_cast<unsigned long long>(wholeFrames_));
  std::fflush(stderr);
}

}  // namespace grazefall::platform::sdl
