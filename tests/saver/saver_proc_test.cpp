// What the saver procedure keeps for itself and what it leaves to the host's
// default handling, driven without a host.
#include <gtest/gtest.h>

#include <optional>

#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_windowing.h"
#include "platform/messages.h"
#include "saver/saver_proc.h"

namespace grazefall {
namespace {

using namespace platform;

class SaverProcedure : public ::testing::Test {
 protected:
  SaverProcedure() {
    saver.platform = &platformScope;
    saver.windows = &windows;
  }
  std::optional<MessageResult> Send(uint32_t message, uintptr_t wParam = 0) {
    return SaverProc(saver, window, message, wParam, 0);
  }

  HeadlessPlatform platformScope;
  HeadlessWindowSystem windows;
  const WindowHandle window = windows.addForeignWindow("Saver", "Saver", 64, 48);
  SaverLifecycle saver;
};

TEST_F(SaverProcedure, CreationIsAnsweredHereAndStartsTheFrameTimer) {
  EXPECT_EQ(Send(kWmCreate), std::optional<MessageResult>(0));
  EXPECT_EQ(saver.saverWindow, window);
  EXPECT_TRUE(windows.timerActive(window));
  EXPECT_EQ(saver.frameTimer, kFrameTimerId);
  // A frame every 10 ms.
  EXPECT_EQ(windows.msUntilNextTick(), std::optional<uint32_t>(10));
}

TEST_F(SaverProcedure, OnlyTheFirstFiveMouseMovesAreSwallowed) {
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Send(kWmMouseMove), std::optional<MessageResult>(0)) << i;
  }
  EXPECT_EQ(Send(kWmMouseMove), std::nullopt);
  EXPECT_EQ(Send(kWmMouseMove), std::nullopt);
}

TEST_F(SaverProcedure, InputTicksAndTheEndAreLeftToTheHostAfterTheSaversOwnWork) {
  for (uint32_t message : {kWmKeyDown, kWmSysKeyDown, kWmLButtonDown, kWmClose, kWmActivateApp,
                           kWmPowerBroadcast, kWmSetCursor, kWmApp}) {
    EXPECT_EQ(Send(message), std::nullopt) << message;
  }
  // A tick starts the animation, the next draws a frame; both go on to the
  // host all the same.
  EXPECT_EQ(Send(kWmTimer, kFrameTimerId), std::nullopt);
  ASSERT_TRUE(saver.animationStarted);
  const int32_t cursorAfterStart = platformScope.cursorCount();
  EXPECT_EQ(Send(kWmTimer, kFrameTimerId), std::nullopt);
  EXPECT_EQ(platformScope.displayRequests(), 1);
  EXPECT_EQ(platformScope.presentedFrames(), 1);
  EXPECT_EQ(Send(kWmDestroy), std::nullopt);
  EXPECT_FALSE(saver.animationStarted);
  EXPECT_EQ(saver.animation, nullptr);
  // The end gives back the cursor the start hid.
  EXPECT_EQ(platformScope.cursorCount(), cursorAfterStart + 1);
}

TEST_F(SaverProcedure, AWindowDestroyedBeforeAnyStartSucceededEndsNothing) {
  platformScope.failDisplayCreations(5);
  Send(kWmTimer, kFrameTimerId);
  Send(kWmTimer, kFrameTimerId);
  EXPECT_EQ(platformScope.displayRequests(), 2);
  EXPECT_FALSE(saver.animationStarted);
  const int32_t cursorBeforeDestroy = platformScope.cursorCount();
  Send(kWmDestroy);
  EXPECT_EQ(platformScope.cursorCount(), cursorBeforeDestroy);
  EXPECT_EQ(platformScope.presentedFrames(), 0);
  EXPECT_EQ(saver.animation, nullptr);
}

}  // namespace
}  // namespace grazefall
