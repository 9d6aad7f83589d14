// Counts the frames shown, for measuring the saver from outside: with
// GRAZEFALL_FRAME_STATS set in the environment, a line
//   grazefall-frames: COUNT MILLISECONDS
// goes to stderr about once a second (frames shown so far, and the clock
// when the last of them was), so a measurement can take the rate over any
// window of time. Without the variable nothing is counted or printed.
#pragma once

#include <cstdint>
#include <memory>

namespace grazefall::platform::sdl {

class FrameCounter {
 public:
  // A counter when the environment asks for one, else null.
  static std::unique_ptr<FrameCounter> FromEnvironment();

  // One more frame shown.
  void count();

 private:
  uint64_t frames_ = 0;
  uint32_t lastReport_ = 0;
};

}  // namespace grazefall::platform::sdl
