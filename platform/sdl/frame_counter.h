// Counts the frames shown, for measuring the saver from outside: with
// GRAZEFALL_FRAME_STATS set in the environment, a line
//   grazefall-frames: COUNT MILLISECONDS WHOLE
// goes to stderr about once a second (frames shown so far, the clock when the
// last of them was, and how many of them were sent whole rather than as their
// changed parts), so a measurement can take the rates over any window of
// time. Without the variable nothing is counted or printed.
#pragma once

#include <cstdint>
#include <memory>

namespace grazefall::platform::sdl {

class FrameCounter {
 public:
  // A counter when the environment asks for one, else null.
  static std::unique_ptr<FrameCounter> FromEnvironment();

  // One more frame shown, `whole` when all of it was sent.
  void count(bool whole);

 private:
  uint64_t frames_ = 0;
  uint64_t wholeFrames_ = 0;
  uint32_t lastReport_ = 0;
};

}  // namespace grazefall::platform::sdl
