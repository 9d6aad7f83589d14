// The password check of systems that leave it to the saver: the verifier's
// loading, the 200 ms pause between dialogs, the running notice, AutoPlay.
#include <gtest/gtest.h>

#include "host_fixture.h"

namespace grazefall::testing {
namespace {

using namespace platform;

class PasswordHost : public HostTest {
 protected:
  PasswordHost() {
    windows.setSaverHandlesPasswords(true);
    windows.setPasswordSwitch(true, 1);
  }
};

TEST_F(PasswordHost, WrongPasswordKeepsTheSaverAndPausesFurtherDialogs) {
  // The first dialog fails and stays up 30 ms; a close 150 ms after it ended
  // is refused without a dialog; one 250 ms after it asks again and passes.
  windows.setVerifierAnswers({0, 1}, 30);
  windows.scriptMessage(kWmKeyDown);
  windows.scriptAdvance(150);
  windows.scriptMessage(kWmKeyDown);
  windows.scriptAdvance(100);
  windows.scriptTick();
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(windows.verifierCalls(), 2);
  EXPECT_EQ(windows.countDelivered(kWmClose), 3);
  EXPECT_TRUE(SaverClosed());
  // The tick between the refusals still reached the animation.
  EXPECT_EQ(animation.starts, 1);
  EXPECT_EQ(windows.runningNotices(), (std::vector<bool>{true, false}));
}

TEST_F(PasswordHost, RefusalReanchorsTheCursor) {
  windows.setVerifierAnswers({0}, 0);
  windows.setCursor(10, 10);
  ScriptIgnoredMoves();
  windows.scriptCursor(40, 10);
  windows.scriptMessage(kWmMouseMove);
  windows.scriptAdvance(500);
  // 2 pixels from the new anchor: no close.
  windows.scriptCursor(42, 10);
  windows.scriptMessage(kWmMouseMove);
  Run("/s");
  EXPECT_EQ(windows.countPosted(kWmClose), 1);
  EXPECT_EQ(windows.verifierCalls(), 1);
  EXPECT_FALSE(SaverClosed());
}

TEST_F(PasswordHost, TicksQueuedWhenTheDialogOpensAreDropped) {
  windows.setVerifierAnswers({1}, 0);
  windows.addStep([](HeadlessWindowSystem& s) {
    s.postMessage(s.saverWindow(), kWmClose, 0, 0);
    s.postMessage(s.saverWindow(), kWmTimer, 1, 0);
    s.postMessage(s.saverWindow(), kWmTimer, 1, 0);
  });
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(windows.countDelivered(kWmTimer), 0);
}

TEST_F(PasswordHost, NoDialogWithoutThePasswordSwitchOrVerifier) {
  windows.setPasswordSwitch(true, 0);
  windows.setVerifierAnswers({0}, 0);
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(windows.verifierLoads(), 0);
  EXPECT_TRUE(windows.runningNotices().empty());

  session.reset();
  windows = HeadlessWindowSystem();
  windows.setSaverHandlesPasswords(true);
  windows.setPasswordSwitch(true, 1);  // switch on, but no verifier
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_TRUE(windows.runningNotices().empty());
}

TEST_F(PasswordHost, TicksStopOnceTheCloseIsAllowed) {
  windows.setVerifierAnswers({1}, 0);
  windows.scriptMessage(kWmKeyDown);
  Run("/s");
  EXPECT_TRUE(session.host.closing);
  EXPECT_EQ(host::HostWindowProc(session, windows.saverWindow(), kWmTimer, 1, 0), 0);
  EXPECT_EQ(animation.starts, 0);
}

TEST_F(PasswordHost, AutoPlayQueryClosesTheSaverAndAnswersByVerifier) {
  windows.setAutoPlayMessageId(0xC123);
  windows.scriptMessage(0xC123);
  EXPECT_EQ(Run("/s"), 0);  // no verifier: the close goes through at once
  EXPECT_EQ(windows.countPosted(kWmClose), 1);
}

TEST_F(HostTest, OtherSystemsNeverAskForAPasswordOrRegisterAutoPlay) {
  windows.setPasswordSwitch(true, 1);
  windows.setVerifierAnswers({0}, 0);
  windows.setAutoPlayMessageId(0xC123);
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(windows.verifierLoads(), 0);
  EXPECT_EQ(session.host.autoPlayMessage, 0u);
  EXPECT_FALSE(session.host.closing);
}

}  // namespace
}  // namespace grazefall::testing
