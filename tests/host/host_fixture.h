// A saver host over the in-memory window system and platform; the animation
// is the real one, drawing into the in-memory display.
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

  // A script step after which StartAttempts() counts the displays the saver's
  // ticks ask for: loading options that were never stored asks for one too,
  // when the window is made.
  void ScriptStartCount() {
    windows.addStep([this](platform::HeadlessWindowSystem&) {
      displaysBeforeTicks = platformScope.displayRequests();
    });
  }
  int32_t StartAttempts() const { return platformScope.displayRequests() - displaysBeforeTicks; }

  bool SaverClosed() const { return windows.countDelivered(platform::kWmDestroy) == 1; }

  platform::HeadlessPlatform platformScope;
  platform::HeadlessWindowSystem windows;
  int32_t displaysBeforeTicks = 0;
  // The run under test, over the in-memory services; session.reset() starts
  // the next run afresh.
  host::Session session{platformScope, windows};
};

}  // namespace grazefall::testing
