// What closes the full-screen saver and what does not, driven through the
// message loop with scripted input.
#include <gtest/gtest.h>

#include "host_fixture.h"

namespace grazefall::testing {
namespace {

using namespace platform;

class ClosingRules : public HostTest {
 protected:
  ClosingRules() { windows.setCursor(100, 100); }
};

TEST_F(ClosingRules, KeysAndEveryButtonClose) {
  for (uint32_t message :
       {kWmKeyDown, kWmSysKeyDown, kWmLButtonDown, kWmRButtonDown, kWmMButtonDown}) {
    session.reset();
    windows.scriptMessage(message);
    windows.scriptTick();
    EXPECT_EQ(Run("/s"), 0) << message;
    EXPECT_TRUE(SaverClosed()) << message;
    windows.destroyForeignWindow(windows.saverWindow());
    windows = HeadlessWindowSystem();
  }
}

TEST_F(ClosingRules, FirstFiveMouseMovesNeverClose) {
  windows.scriptCursor(700, 500);
  ScriptIgnoredMoves();
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(windows.countPosted(kWmClose), 0);
}

TEST_F(ClosingRules, SixthMoveClosesOnceTheCursorHasReallyMoved) {
  windows.scriptCursor(700, 500);
  ScriptIgnoredMoves();
  windows.scriptMessage(kWmMouseMove);
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(windows.countPosted(kWmClose), 1);
}

TEST_F(ClosingRules, MovementIsMeasuredFromTheAnchorAgainstFourPixels) {
  ScriptIgnoredMoves();
  // 3 right and 1 down: 4, not more than the threshold.
  windows.scriptCursor(103, 101);
  windows.scriptMessage(kWmMouseMove);
  windows.scriptCursor(97, 99);
  windows.scriptMessage(kWmMouseMove);
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(windows.countPosted(kWmClose), 0);

  // Small steps add up: 3 right and 2 down from where it started closes.
  session.reset();
  windows = HeadlessWindowSystem();
  windows.setCursor(100, 100);
  ScriptIgnoredMoves();
  windows.scriptCursor(102, 101);
  windows.scriptMessage(kWmMouseMove);
  windows.scriptCursor(103, 102);
  windows.scriptMessage(kWmMouseMove);
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(windows.countPosted(kWmClose), 1);
}

TEST_F(ClosingRules, FarApartPositionsDoNotOverflow) {
  windows.setCursor(INT32_MIN, INT32_MIN);
  ScriptIgnoredMoves();
  windows.scriptCursor(INT32_MAX, INT32_MAX);
  windows.scriptMessage(kWmMouseMove);
  EXPECT_EQ(Run("/s"), 0);
}

TEST_F(ClosingRules, AnotherApplicationsActivationCloses) {
  windows.scriptMessage(kWmActivateApp, 1);
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(windows.countPosted(kWmClose), 0);

  session.reset();
  windows = HeadlessWindowSystem();
  windows.scriptMessage(kWmActivateApp, 0);
  EXPECT_EQ(Run("/s"), 0);
}

TEST_F(ClosingRules, PowerEvents) {
  windows.scriptMessage(kWmPower, kPwrSuspendRequest);
  windows.scriptMessage(kWmPower, kPwrSuspendResume);
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);

  for (auto [message, wParam] :
       {std::pair{kWmPower, kPwrCriticalResume}, std::pair{kWmPowerBroadcast, uintptr_t{0}},
        std::pair{kWmPowerBroadcast, kPbtApmSuspend}}) {
    session.reset();
    windows = HeadlessWindowSystem();
    windows.scriptMessage(message, wParam);
    EXPECT_EQ(Run("/s"), 0) << message << " " << wParam;
  }
}

TEST_F(ClosingRules, SwitchingAndScreenSaveCommandsAreSwallowed) {
  windows.scriptMessage(kWmSysCommand, kScNextWindow);
  windows.scriptMessage(kWmSysCommand, kScPrevWindow);
  windows.scriptMessage(kWmSysCommand, kScScreenSave);
  windows.scriptMessage(kWmSysCommand, 0xF020);  // minimise goes on
  windows.scriptMessage(kWmSysCommand, 0xF030);  // and so does maximise
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(windows.countDelivered(kWmSysCommand), 5);
  EXPECT_EQ(windows.countDefaultHandled(kWmSysCommand), 2);
}

TEST_F(ClosingRules, CursorStaysHiddenAndTitleIsFixed) {
  windows.scriptMessage(kWmSetCursor);
  windows.scriptMessage(kWmShowWindow, 1);
  windows.scriptMessage(kWmPaint);
  windows.scriptMessage(kWmSetText);
  Run("/s");
  // At creation, then for WM_SETCURSOR, WM_SHOWWINDOW and WM_PAINT.
  EXPECT_EQ(windows.cursorHides(), 4);
  EXPECT_EQ(windows.countDefaultHandled(kWmSetText), 0);
  EXPECT_EQ(windows.countDefaultHandled(kWmSetCursor), 0);
}

TEST_F(ClosingRules, PreviewIgnoresInput) {
  const WindowHandle parent = windows.addForeignWindow("Panel", "Display", 152, 112);
  windows.scriptCursor(600, 400);
  for (int i = 0; i < 8; ++i) windows.scriptMessage(kWmMouseMove);
  windows.scriptMessage(kWmKeyDown);
  windows.scriptMessage(kWmLButtonDown);
  windows.scriptMessage(kWmActivateApp, 0);
  windows.scriptMessage(kWmPowerBroadcast);
  EXPECT_EQ(Run("/p " + std::to_string(parent)), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(windows.countPosted(kWmClose), 0);
  EXPECT_EQ(windows.cursorHides(), 0);
}

TEST_F(ClosingRules, PreviewHelpGoesToTheParent) {
  const WindowHandle parent = windows.addForeignWindow("Panel", "Display", 152, 112);
  MessageResult answer = -1;
  windows.addStep(
      [&](HeadlessWindowSystem& s) { answer = s.sendMessage(s.saverWindow(), kWmHelp, 0, 1234); });
  Run("/p " + std::to_string(parent));
  EXPECT_EQ(answer, 1);
  ASSERT_EQ(windows.countPosted(kWmHelp), 1);
  const auto& forwarded = windows.posted().back();
  EXPECT_EQ(forwarded.window, parent);
  EXPECT_EQ(forwarded.wParam, parent);
  EXPECT_EQ(forwarded.lParam, 1234);
}

TEST_F(ClosingRules, PreviewHelpIsDroppedWhenTheParentIsGone) {
  const WindowHandle parent = windows.addForeignWindow("Panel", "Display", 152, 112);
  MessageResult answer = -1;
  windows.addStep([&](HeadlessWindowSystem& s) {
    s.loseForeignWindow(parent);
    answer = s.sendMessage(s.saverWindow(), kWmContextMenu, 0, 1234);
  });
  Run("/p " + std::to_string(parent));
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(windows.countPosted(kWmContextMenu), 0);
}

TEST_F(ClosingRules, PreviewEndsWithItsParent) {
  const WindowHandle parent = windows.addForeignWindow("Panel", "Display", 152, 112);
  windows.scriptTick();
  windows.addStep([parent](HeadlessWindowSystem& s) { s.destroyForeignWindow(parent); });
  EXPECT_EQ(Run("/p " + std::to_string(parent)), 0);
  EXPECT_TRUE(SaverClosed());
}

}  // namespace
}  // namespace grazefall::testing
