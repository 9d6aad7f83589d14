// A saver host over the in-memory window system and platform, with an
// animation whose start results a test scripts and whose calls it counts.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string_view>

#include "host/host_main.h"
#include "host/host_state.h"
#include "host/saver_window.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_windowing.h"
#include "platform/messages.h"
#include "saver/saver_proc.h"

namespace grazefall::testing {

class ScriptedAnimation : public AnimationDriver {
 public:
  // Start results in turn; once used up every start succeeds.
  std::deque<int32_t> startResults;
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
  int32_t runFrame() override {
    ++frames;
    return 0;
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
    platform::InstallWindowSystem(&windows);
    host::ResetHostState();
    saverLifecycle.animation = &animation;
    host::SetConfigurationSheet(nullptr);
  }
  ~HostTest() override {
    saverLifecycle.animation = nullptr;
    host::ResetHostState();
    host::SetConfigurationSheet(nullptr);
    platform::InstallWindowSystem(nullptr);
    platformScope->useOwnClockAndCursor();
  }

  int32_t Run(std::string_view commandLine) { return host::HostMain(0x400000, commandLine); }

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
};

}  // namespace grazefall::testing
