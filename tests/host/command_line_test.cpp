// The command line: which mode each form starts, the handles it reads, and
// the exit codes.
#include <gtest/gtest.h>

#include <string>

#include "host_fixture.h"

namespace grazefall::testing {
namespace {

using host::ParseWindowHandle;
using host::SkipProgramName;
using platform::HeadlessWindowSystem;

TEST(SkipProgramName, QuotedAndPlainNamesAndTheBlanksAfterThem) {
  EXPECT_EQ(SkipProgramName("\"C:\\Program Files\\g.scr\" /s"), "/s");
  EXPECT_EQ(SkipProgramName("g.scr\t  /p 12"), "/p 12");
  // Every control character from 0x01 up counts as a blank.
  EXPECT_EQ(SkipProgramName("g.scr \x01\x1f/s"), "/s");
  EXPECT_EQ(SkipProgramName("g.scr"), "");
  // A name cut from a longer line ends where the line given does.
  EXPECT_EQ(SkipProgramName(std::string_view("g.scr/s").substr(0, 5)), "");
  // An unterminated quote swallows the whole line.
  EXPECT_EQ(SkipProgramName("\"g.scr /s"), "");
}

TEST(ParseWindowHandle, LeadingDigitsOnlyWrappingAt32Bits) {
  EXPECT_EQ(ParseWindowHandle("1234"), 1234u);
  EXPECT_EQ(ParseWindowHandle("77abc"), 77u);
  EXPECT_EQ(ParseWindowHandle("abc"), 0u);
  EXPECT_EQ(ParseWindowHandle(" 5"), 0u);
  EXPECT_EQ(ParseWindowHandle("-5"), 0u);
  EXPECT_EQ(ParseWindowHandle("0x1F"), 0u);
  EXPECT_EQ(ParseWindowHandle(""), 0u);
  EXPECT_EQ(ParseWindowHandle("4294967295"), 4294967295u);
  EXPECT_EQ(ParseWindowHandle("4294967296"), 0u);
  EXPECT_EQ(ParseWindowHandle("4294967297"), 1u);
  EXPECT_EQ(ParseWindowHandle("99999999999999999999999"), 4135583743u);
}

TEST_F(HostTest, EveryFullScreenSpellingOpensTheSaverWindow) {
  for (const char* line : {"/s", "-S", "s", "  /save", "/S extra words", " /S"}) {
    // A fresh system each time: nothing left by the case before can pass.
    session.reset();
    windows = HeadlessWindowSystem();
    windows.scriptMessage(platform::kWmKeyDown);
    EXPECT_EQ(Run(line), 0) << line;
    EXPECT_EQ(windows.countDelivered(platform::kWmCreate), 1) << line;
    ASSERT_NE(windows.saverWindow(), 0u) << line;
    EXPECT_EQ(windows.lastTitle(), "Screen Saver") << line;
    EXPECT_EQ(windows.lastSpec().kind, platform::WindowKind::FullScreen) << line;
    windows.destroyForeignWindow(windows.saverWindow());
  }
}

TEST_F(HostTest, UnknownLetterRefusesWithoutAWindow) {
  EXPECT_EQ(Run("/x"), -1);
  EXPECT_EQ(Run("--root"), -1);
  EXPECT_EQ(windows.saverWindow(), 0u);
}

TEST_F(HostTest, PreviewNeedsTheHandleOfALiveWindow) {
  EXPECT_EQ(Run("/p 0"), -1);
  EXPECT_EQ(Run("/p"), -1);
  EXPECT_EQ(Run("/p abc"), -1);
  EXPECT_EQ(Run("/p 98765"), -1);
  EXPECT_EQ(windows.saverWindow(), 0u);

  const platform::WindowHandle parent = windows.addForeignWindow("Panel", "Display", 152, 112);
  for (const std::string& line : {"/p " + std::to_string(parent), "/p" + std::to_string(parent),
                                  "/L   " + std::to_string(parent)}) {
    session.reset();
    EXPECT_EQ(Run(line), HeadlessWindowSystem::kScriptEndedCode) << line;
    EXPECT_EQ(windows.lastTitle(), "Preview");
    EXPECT_EQ(windows.lastSpec().parent, parent);
    EXPECT_EQ(windows.lastSpec().bounds, (platform::Rect{0, 0, 152, 112}));
    windows.destroyForeignWindow(windows.saverWindow());
  }
}

TEST_F(HostTest, ConfigurationShowsTheSheetThenExitsMinusOne) {
  int sheets = 0;
  session.showConfigurationSheet = [&] { ++sheets; };
  const platform::WindowHandle foreground = windows.addForeignWindow("Shell", "Desk", 10, 10);
  const platform::WindowHandle live = windows.addForeignWindow("Panel", "Display", 10, 10);
  windows.setForeground(foreground);

  EXPECT_EQ(Run(""), -1);
  EXPECT_EQ(windows.lastTemplateOwner(), 0u);
  EXPECT_EQ(Run("/c"), -1);
  EXPECT_EQ(windows.lastTemplateOwner(), foreground);
  EXPECT_EQ(Run("/c:" + std::to_string(live)), -1);
  EXPECT_EQ(windows.lastTemplateOwner(), live);
  EXPECT_EQ(Run("/c:55555"), -1);
  EXPECT_EQ(windows.lastTemplateOwner(), foreground);
  // The handle must follow the colon directly.
  EXPECT_EQ(Run("/c " + std::to_string(live)), -1);
  EXPECT_EQ(windows.lastTemplateOwner(), foreground);
  EXPECT_EQ(Run("/configure"), -1);

  EXPECT_EQ(sheets, 6);
  EXPECT_EQ(windows.templateDialogRequests(), 6);
  EXPECT_EQ(windows.saverWindow(), 0u);
}

TEST_F(HostTest, PasswordChangeOnlyWhereTheSaverHandlesPasswords) {
  windows.setChangePasswordAvailable(true);
  EXPECT_EQ(Run("/a 123"), -1);
  EXPECT_TRUE(windows.passwordChanges().empty());

  windows.setSaverHandlesPasswords(true);
  const platform::WindowHandle owner = windows.addForeignWindow("Panel", "Display", 10, 10);
  EXPECT_EQ(Run("/a " + std::to_string(owner)), 0);
  ASSERT_EQ(windows.passwordChanges().size(), 1u);
  EXPECT_EQ(windows.passwordChanges()[0], "SCRSAVE@" + std::to_string(owner));
  // The line ends where its text does, whatever follows it in memory: "/a "
  // names no window, so the change belongs to the foreground one.
  windows.setForeground(owner);
  const std::string longer = "/a  " + std::to_string(owner + 1);
  EXPECT_EQ(Run(std::string_view(longer).substr(0, 3)), 0);
  EXPECT_EQ(windows.passwordChanges().size(), 2u);

  // A missing service still exits 0.
  windows.setChangePasswordAvailable(false);
  EXPECT_EQ(Run("/a"), 0);
}

TEST_F(HostTest, AModeThatThrowsClearsTheRunningNotice) {
  windows.setSaverHandlesPasswords(true);
  session.showConfigurationSheet = [] { throw 42; };
  EXPECT_EQ(Run("/c"), -1);
  ASSERT_EQ(windows.runningNotices().size(), 1u);
  EXPECT_FALSE(windows.runningNotices()[0]);
}

TEST_F(HostTest, SecondFullScreenStartRaisesTheRunningOne) {
  const platform::WindowHandle running =
      windows.addForeignWindow("WindowsScreenSaverClass", "Screen Saver", 800, 600);
  EXPECT_EQ(Run("/s"), 0);
  EXPECT_EQ(windows.saverWindow(), 0u);
  EXPECT_EQ(windows.foreground(), running);
}

TEST_F(HostTest, NoWindowIsAFailureNotASuccess) {
  windows.failWindowCreation(true);
  EXPECT_EQ(Run("/s"), -1);
}

}  // namespace
}  // namespace grazefall::testing
