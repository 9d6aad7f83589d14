// A saver host over the in-memory window system and platform, with an
// animation whose start results and frame pauses a test scripts and whose
// calls it counts.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

#include "host/host_main.h"
#include "host/saver_window.h"
#include "host/session.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_windowing.h"
#include "platform/messages.h"
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

class HostTest : public ::testing::Test {
 protected:
  HostTest() {
    // The core reads the clock and cursor the window system's script moves.
    platformScope->useClockAndCursor(windows.clock(), windows.cursor());
  }
  ~HostTest() override { platformScope->useOwnClockAndCursor(); }

  int32_t Run(std::string_view commandLine) {
    return host::HostMain(session, 0x400000, commandLine);
  }

  // Five mouse moves the saver swallows, wherever the cursor is.
  void ScriptIgnoredMoves() {
    for (int i = 0; i < kMouseMovesIgnoredAtStart; ++i) {
      windows.scriptMessage(platform::kWmMouseMove);
    }
  }

  bool SaverClosed() const { return windows.countDelivered(platform::kWmDestroy) == 1; }

  platform::ScopedHeadlessPlatform platformScope;
  platform::HeadlessWindowSystem windows;
  ScriptedAnimation animation;
  // The run under test, over the in-memory services; session.reset() starts
  // the next run afresh.
  host::Session session{*platformScope, windows, &animation};
};

}  // namespace grazefall::testing
