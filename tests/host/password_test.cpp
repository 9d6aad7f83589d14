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
  ScriptStartCount();
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
  EXPECT_EQ(StartAttempts(), 1);
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

TEST_F(PasswordHost, UpToTwoTicksQueuedWhenTheDialogOpensAreDropped) {
  // The password is refused, so the saver goes on: of three ticks waiting
  // behind the close, two are dropped and the third still reaches it.
  windows.setVerifierAnswers({0}, 0);
  windows.addStep([](HeadlessWindowSystem& s) {
    s.postMessage(s.saverWindow(), kWmClose, 0, 0);
    for (int i = 0; i < 3; ++i) s.postMessage(s.saverWindow(), kWmTimer, 1, 0);
  });
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(windows.verifierCalls(), 1);
  EXPECT_EQ(windows.countDelivered(kWmTimer), 1);
}

TEST_F(PasswordHost, ACloseWhileTheDialogIsUpIsRefusedWithoutASecondDialog) {
  // The first dialog refuses; a second one would accept and end the saver.
  windows.setVerifierAnswers({0, 1}, 0);
  MessageResult nestedClose = -1;
  int32_t closesPostedByAKey = -1;
  windows.setDuringPasswordDialog([&](HeadlessWindowSystem& s) {
    nestedClose = s.sendMessage(s.saverWindow(), kWmClose, 0, 0);
    const int32_t before = s.countPosted(kWmClose);
    s.sendMessage(s.saverWindow(), kWmKeyDown, 0, 0);
    closesPostedByAKey = s.countPosted(kWmClose) - before;
  });
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(nestedClose, 0);
  EXPECT_EQ(closesPostedByAKey, 0);
  EXPECT_EQ(windows.verifierCalls(), 1);
  EXPECT_FALSE(SaverClosed());
}

TEST_F(PasswordHost, ThePauseBetweenDialogsCountsFromTheEndOfTheLastOne) {
  // The dialog stays up 100 ms. A close 150 ms after it ended is 250 ms after
  // it opened: still inside the pause, so no second dialog.
  windows.setVerifierAnswers({0, 1}, 100);
  windows.scriptMessage(kWmKeyDown);
  windows.scriptAdvance(150);
  windows.scriptMessage(kWmKeyDown);
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(windows.verifierCalls(), 1);
  EXPECT_FALSE(SaverClosed());
}

TEST_F(PasswordHost, AKeyRefusedByThePasswordReanchorsAndHidesTheCursor) {
  windows.setVerifierAnswers({0}, 0);
  windows.setCursor(10, 10);
  windows.scriptCursor(300, 200);
  windows.scriptMessage(kWmKeyDown);
  windows.scriptAdvance(500);
  int32_t hidesAfterTheRefusal = -1;
  windows.addStep([&](HeadlessWindowSystem& s) { hidesAfterTheRefusal = s.cursorHides(); });
  // Three pixels from where the cursor was at the refusal: no close.
  windows.scriptCursor(303, 200);
  ScriptIgnoredMoves();
  windows.scriptMessage(kWmMouseMove);
  Run("/s");
  EXPECT_EQ(windows.verifierCalls(), 1);
  EXPECT_EQ(windows.countPosted(kWmClose), 1);
  EXPECT_FALSE(SaverClosed());
  // Once at creation, once more when the refused dialog was gone.
  EXPECT_EQ(hidesAfterTheRefusal, 2);
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

TEST_F(PasswordHost, TheCheckBeforeClosingAnswersWhatTheDialogDecided) {
  windows.setVerifierAnswers({0, 1}, 0);
  std::vector<int32_t> answers;
  windows.addStep([&](HeadlessWindowSystem& s) {
    answers.push_back(host::VerifyBeforeClose(session, s.saverWindow()));
    s.advance(250);
    answers.push_back(host::VerifyBeforeClose(session, s.saverWindow()));
    // Once closing, no further dialog: the window is already going.
    answers.push_back(host::VerifyBeforeClose(session, s.saverWindow()));
  });
  Run("/s");
  EXPECT_EQ(answers, (std::vector<int32_t>{0, 1, 0}));
  EXPECT_EQ(windows.verifierCalls(), 2);
}

TEST_F(PasswordHost, TicksStopOnceTheCloseIsAllowed) {
  windows.setVerifierAnswers({1}, 0);
  windows.scriptMessage(kWmKeyDown);
  Run("/s");
  EXPECT_TRUE(session.host.closing);
  const int32_t displaysBefore = platformScope.displayRequests();
  EXPECT_EQ(host::HostWindowProc(session, windows.saverWindow(), kWmTimer, 1, 0), 0);
  EXPECT_EQ(platformScope.displayRequests(), displaysBefore);
}

TEST_F(PasswordHost, AutoPlayQueryClosesTheSaverAndAnswersByVerifier) {
  // With a verifier the answer is 1 (cancel AutoPlay: the password decides).
  windows.setVerifierAnswers({1}, 0);
  windows.setAutoPlayMessageId(0xC123);
  MessageResult answer = -1;
  windows.addStep(
      [&](HeadlessWindowSystem& s) { answer = s.sendMessage(s.saverWindow(), 0xC123, 0, 0); });
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(windows.countPosted(kWmClose), 1);

  // Without one, 0, and the close goes through at once.
  session.reset();
  windows = HeadlessWindowSystem();
  windows.setSaverHandlesPasswords(true);
  windows.setAutoPlayMessageId(0xC123);
  answer = -1;
  windows.addStep(
      [&](HeadlessWindowSystem& s) { answer = s.sendMessage(s.saverWindow(), 0xC123, 0, 0); });
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(windows.countPosted(kWmClose), 1);

  // A preview registers the message too and answers it the same way.
  session.reset();
  windows = HeadlessWindowSystem();
  windows.setSaverHandlesPasswords(true);
  windows.setAutoPlayMessageId(0xC123);
  const WindowHandle parent = windows.addForeignWindow("Panel", "Display", 152, 112);
  answer = -1;
  windows.addStep(
      [&](HeadlessWindowSystem& s) { answer = s.sendMessage(s.saverWindow(), 0xC123, 0, 0); });
  Run("/p " + std::to_string(parent));
  EXPECT_EQ(answer, 0);
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

  // With no AutoPlay id registered, message 0 is only the null message: it
  // neither closes the saver nor is answered as an AutoPlay query.
  session.reset();
  windows = HeadlessWindowSystem();
  windows.setAutoPlayMessageId(0xC123);
  windows.addStep([](HeadlessWindowSystem& s) { s.sendMessage(s.saverWindow(), 0, 0, 0); });
  EXPECT_EQ(Run("/s"), HeadlessWindowSystem::kScriptEndedCode);
  EXPECT_EQ(windows.countPosted(kWmClose), 0);
  EXPECT_EQ(windows.countDefaultHandled(0), 1);
}

}  // namespace
}  // namespace grazefall::testing
