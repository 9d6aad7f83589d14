// The saver procedure's lifecycle: timer, start retries, frames, teardown,
// and the preview paint.
#include <gtest/gtest.h>

#include "host_fixture.h"
#include "options/options_store.h"

namespace grazefall::testing {
namespace {

using namespace platform;

TEST_F(HostTest, FailingStartIsRetriedOnEveryTickUntilItRuns) {
  ScriptStartCount();
  windows.addStep([this](HeadlessWindowSystem&) { platformScope.failDisplayCreations(3); });
  for (int i = 0; i < 6; ++i) windows.scriptTick();
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), 0);
  // Three failed starts, the one that runs, then two frames.
  EXPECT_EQ(StartAttempts(), 4);
  EXPECT_EQ(platformScope.presentedFrames(), 2);
  EXPECT_FALSE(windows.timerActive(windows.saverWindow()));
}

TEST_F(HostTest, EachFrameIsFollowedByThePauseItsFallSpeedAsksFor) {
  // Fall speed -3 asks for 25 ms after every frame.
  session.saver.adjustOptions = [](ScenarioOptions& options) { options.fallSpeed = -3; };
  std::vector<uint64_t> sleptBeforeFrame;
  platformScope.setFrameObserver(
      [&](const Surface&, int64_t) { sleptBeforeFrame.push_back(platformScope.totalSleptMs()); });
  for (int i = 0; i < 5; ++i) windows.scriptTick();  // the start, then four frames
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), 0);
  // Each pause is slept after its own frame, before the next one begins.
  EXPECT_EQ(sleptBeforeFrame, (std::vector<uint64_t>{0, 25, 50, 75}));
  EXPECT_EQ(platformScope.totalSleptMs(), 100u);
}

TEST_F(HostTest, TicksWaitBehindInputAndAtMostOneIsPending) {
  // The timer fires three times while the loop is busy: one message only.
  ScriptStartCount();
  windows.addStep([](HeadlessWindowSystem& s) {
    s.tick();
    s.tick();
    s.tick();
  });
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(windows.countDelivered(kWmTimer), 1);
  EXPECT_EQ(StartAttempts(), 1);

  session.reset();
  windows = HeadlessWindowSystem();
  ScriptStartCount();
  // A key that arrives after a tick is still handled first: the saver closes
  // and no start is attempted.
  windows.addStep([](HeadlessWindowSystem& s) {
    s.tick();
    s.postMessage(s.saverWindow(), kWmKeyDown, 0, 0);
  });
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(StartAttempts(), 0);
}

TEST_F(HostTest, PreviewPaintsThePictureEveryTickAndNeverStarts) {
  const WindowHandle parent = windows.addForeignWindow("Panel", "Display", 152, 112);
  platformScope.addResourcePicture(134, Picture{155, 117, std::vector<ColorRef>(155 * 117)});
  ScriptStartCount();
  for (int i = 0; i < 3; ++i) windows.scriptTick();
  Run("/p " + std::to_string(parent));
  ASSERT_EQ(windows.paints().size(), 3u);
  for (const auto& paint : windows.paints()) {
    EXPECT_EQ(paint.window, windows.saverWindow());
    EXPECT_EQ(paint.width, 155);
    EXPECT_EQ(paint.height, 117);
    EXPECT_EQ(paint.x, 0);
    EXPECT_EQ(paint.y, 0);
  }
  EXPECT_EQ(StartAttempts(), 0);
}

TEST_F(HostTest, StoredOptionsAreLoadedAtCreation) {
  ScenarioOptions stored = invasionPreset;
  stored.herdSize = 77;
  OptionsStore store(platformScope.settingsStore());
  ASSERT_EQ(WriteOptions(store, stored, "Options"), kOk);
  activeOptions = classicPreset;
  Run("/s");
  EXPECT_EQ(activeOptions.herdSize, 77);
  EXPECT_EQ(ScenarioNameOf(activeOptions), ScenarioNameOf(invasionPreset));
  activeOptions = classicPreset;
}

TEST_F(HostTest, ASaverWindowOutsideAnyRunAnswersNothing) {
  windows.scriptMessage(kWmKeyDown);
  Run("/s");
  // The class stays registered after the run; a window made from it now has
  // no run to answer for it, so even WM_SETCURSOR (answered 1 during a run)
  // gets 0 and the cursor is left alone.
  WindowSpec spec;
  spec.className = host::kSaverClassName;
  spec.title = host::kFullScreenTitle;
  const WindowHandle stray = windows.createWindow(spec);
  ASSERT_NE(stray, 0u);
  const int32_t hidesBefore = windows.cursorHides();
  EXPECT_EQ(windows.sendMessage(stray, kWmSetCursor, 0, 0), 0);
  EXPECT_EQ(windows.cursorHides(), hidesBefore);
}

TEST_F(HostTest, InputMethodIsTakenAwayAndGivenBack) {
  windows.setInputMethodAvailable(true);
  windows.scriptMessage(kWmKeyDown);
  Run("/s");
  EXPECT_EQ(windows.inputMethodRestores(), 1);
  EXPECT_EQ(windows.lastRestoredInputMethod(), HeadlessWindowSystem::kInputMethodContext);

  // A window that had no context of its own gets none given back.
  session.reset();
  windows = HeadlessWindowSystem();
  windows.setInputMethodAvailable(true, 0);
  windows.scriptMessage(kWmKeyDown);
  Run("/s");
  EXPECT_EQ(windows.inputMethodRestores(), 0);

  // Nor does one whose input method was never taken away.
  session.reset();
  windows = HeadlessWindowSystem();
  windows.scriptMessage(kWmKeyDown);
  Run("/s");
  EXPECT_EQ(windows.inputMethodRestores(), 0);
}

}  // namespace
}  // namespace grazefall::testing
