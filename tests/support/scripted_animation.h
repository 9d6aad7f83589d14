// An animation driver whose start results and frame pauses a test scripts
// and whose calls it counts, for the saver procedure and the host above it.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "saver/saver_proc.h"

namespace grazefall::testing {

class ScriptedAnimation : public AnimationDriver {
 public:
  // Start results in turn; once used up every start succeeds.
  std::deque<int32_t> startResults;
  // Pauses the frames ask for in turn; once used up no frame asks for one.
  std::deque<uint32_t> framePauses;
  // When set, the platform's total of slept milliseconds as each frame began.
  const platform::HeadlessPlatform* sleepClock = nullptr;
  std::vector<uint64_t> sleptBeforeFrame;
  int32_t created = 0;
  int32_t starts = 0;
  int32_t frames = 0;
  int32_t ends = 0;

  void newAnimation(const ScenarioOptions&) override { ++created; }
  int32_t start(platform::WindowHandle) override {
    ++starts;
    if (startResults.empty()) return 0;
    const int32_t result = startResults.front();
    startResults.pop_front();
    return result;
  }
  uint32_t runFrame() override {
    ++frames;
    if (sleepClock != nullptr) sleptBeforeFrame.push_back(sleepClock->totalSleptMs());
    if (framePauses.empty()) return 0;
    const uint32_t pause = framePauses.front();
    framePauses.pop_front();
    return pause;
  }
  int32_t end() override {
    ++ends;
    return 0;
  }
};

}  // namespace grazefall::testing
