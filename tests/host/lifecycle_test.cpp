// The saver procedure's lifecycle: timer, start retries, frames, teardown,
// and the preview paint.
#include <gtest/gtest.h>

#include "host_fixture.h"
#include "options/options_store.h"

namespace grazefall::testing {
namespace {

using namespace platform;

TEST_F(HostTest, FailingStartIsRetriedOnEveryTickUntilItRuns) {
  animation.startResults = {1, 1, 1, 0};
  for (int i = 0; i < 6; ++i) windows.scriptTick();
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(animation.starts, 4);
  EXPECT_EQ(animation.created, 4);
  EXPECT_EQ(animation.frames, 2);
  EXPECT_EQ(animation.ends, 1);
  EXPECT_FALSE(windows.timerActive(windows.saverWindow()));
}

TEST_F(HostTest, EachFrameIsFollowedByExactlyThePauseItAskedFor) {
  animation.framePauses = {25, 0, 100, 5};
  animation.sleepClock = &platformScope;
  for (int i = 0; i < 5; ++i) windows.scriptTick();  // the start, then four frames
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), 0);
  ASSERT_EQ(animation.frames, 4);
  // Each pause is slept after its own frame, before the next one begins.
  EXPECT_EQ(animation.sleptBeforeFrame, (std::vector<uint64_t>{0, 25, 25, 125}));
  EXPECT_EQ(platformScope.totalSleptMs(), 130u);
}

TEST_F(HostTest, WindowClosedBeforeAnyStartSucceededEndsNothing) {
  animation.startResults = {1, 1, 1, 1, 1};
  windows.scriptTick();
  windows.scriptTick();
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(animation.starts, 2);
  EXPECT_EQ(animation.frames, 0);
  EXPECT_EQ(animation.ends, 0);
}

TEST_F(HostTest, TicksWaitBehindInputAndAtMostOneIsPending) {
  // The timer fires three times while the loop is busy: one message only.
  windows.addStep([](HeadlessWindowSystem& s) {
    s.tick();
    s.tick();
    s.tick();
  });
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(windows.countDelivered(kWmTimer), 1);
  EXPECT_EQ(animation.starts, 1);

  session.reset();
  windows = HeadlessWindowSystem();
  animation = ScriptedAnimation();
  // A key that arrives after a tick is still handled first: the saver closes
  // and no start is attempted.
  windows.addStep([](HeadlessWindowSystem& s) {
    s.tick();
    s.postMessage(s.saverWindow(), kWmKeyDown, 0, 0);
  });
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(animation.starts, 0);
}

TEST_F(HostTest, PreviewPaintsThePictureEveryTickAndNeverStarts) {
  const WindowHandle parent = windows.addForeignWindow("Panel", "Display", 152, 112);
  platformScope.addResourcePicture(134, Picture{155, 117, std::vector<ColorRef>(155 * 117)});
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
  EXPECT_EQ(animation.created, 0);
  EXPECT_EQ(animation.starts, 0);
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
