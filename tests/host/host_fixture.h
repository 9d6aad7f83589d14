// A saver host over the in-memory window system and platform, with a
// scripted animation.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "host/host_main.h"
#include "host/saver_window.h"
#include "host/session.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_windowing.h"
#include "platform/messages.h"
#include "saver/saver_proc.h"
#include "tests/support/scripted_animation.h"

namespace grazefall::testing {

class HostTest : public ::testing::Test {
 protected:
  HostTest() {
    // The core reads the clock and cursor the window system's script moves.
    platformScope.useClockAndCursor(windows.clock(), windows.cursor());
  }
  ~HostTest() override { platformScope.useOwnClockAndCursor(); }

  int32_t Run(std::string_view commandLine) {
    return host::HostMain(session, 0x400000, commandLine);
  }

  // Five mouse moves the saver swallows, wherever the cursor is.
  void ScriptIgnoredMoves() {
    for (int i = 0; i < 5; ++i) {
      windows.scriptMessage(platform::kWmMouseMove);
    }
  }

  bool SaverClosed() const { return windows.countDelivered(platform::kWmDestroy) == 1; }

  platform::HeadlessPlatform platformScope;
  platform::HeadlessWindowSystem windows;
  ScriptedAnimation animation;
  // The run under test, over the in-memory services; session.reset() starts
  // the next run afresh.
  host::Session session{platformScope, windows, &animation};
};

}  // namespace grazefall::testing
