// The Linux command line: which of XScreenSaver's options pick which mode,
// and what reaches HostMain.
#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

#include "host/linux/hack_options.h"

namespace grazefall::host {
namespace {

using Args = std::vector<std::string_view>;

LinuxCommand Parse(Args args, std::optional<std::string_view> env = std::nullopt) {
  return ParseLinuxCommand(args, env);
}

TEST(ParseWindowId, DecimalAndHexWithinThirtyTwoBits) {
  EXPECT_EQ(ParseWindowId("12345"), 12345u);
  EXPECT_EQ(ParseWindowId("0x1e00007"), 0x1e00007u);
  EXPECT_EQ(ParseWindowId("0XFFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseWindowId("4294967296"), std::nullopt);
  EXPECT_EQ(ParseWindowId("0x100000000"), std::nullopt);
  EXPECT_EQ(ParseWindowId("0"), std::nullopt);
  EXPECT_EQ(ParseWindowId("0x"), std::nullopt);
  EXPECT_EQ(ParseWindowId("12ab"), std::nullopt);
  EXPECT_EQ(ParseWindowId("-5"), std::nullopt);
  EXPECT_EQ(ParseWindowId(""), std::nullopt);
  EXPECT_EQ(ParseWindowId("99999999999999999999"), std::nullopt);
}

TEST(ParseLinuxCommand, WindowsLettersGoToTheHostAsOneLine) {
  EXPECT_EQ(Parse({"/s"}).mode, LinuxMode::Letters);
  EXPECT_EQ(Parse({"/p", "1234"}).letters, "/p 1234");
  EXPECT_EQ(Parse({}).letters, "");
  EXPECT_EQ(Parse({"/c:77"}).letters, "/c:77");
  // The frame-rate line goes with the letters too.
  const LinuxCommand withFps = Parse({"-fps", "/s"});
  EXPECT_EQ(withFps.mode, LinuxMode::Letters);
  EXPECT_TRUE(withFps.showFrameRate);
  EXPECT_EQ(withFps.letters, "/s");
}

TEST(ParseLinuxCommand, RootWithOneDashOrTwoUsesXScreenSaversWindow) {
  for (std::string_view root : {"-root", "--root"}) {
    const LinuxCommand plain = Parse({root});
    EXPECT_EQ(plain.mode, LinuxMode::InWindow);
    EXPECT_EQ(plain.window, 0u);  // the root window itself
    const LinuxCommand given = Parse({root}, "0x2a00007");
    EXPECT_EQ(given.mode, LinuxMode::InWindow);
    EXPECT_EQ(given.window, 0x2a00007u);
  }
  // Started by XScreenSaver with nothing but its variable.
  EXPECT_EQ(Parse({}, "123").window, 123u);
  EXPECT_EQ(Parse({"-fps"}, "123").mode, LinuxMode::InWindow);
  // A screen-saver letter still wins over a stray variable.
  EXPECT_EQ(Parse({"/c"}, "123").mode, LinuxMode::Letters);
  EXPECT_EQ(Parse({"-root"}, "junk").mode, LinuxMode::Error);
}

TEST(ParseLinuxCommand, WindowIdInAnyOfItsSpellings) {
  for (Args args : {Args{"-window-id", "0x400001"}, Args{"--window-id", "4194305"},
                    Args{"--window-id=0x400001"}, Args{"-window-id=4194305"}}) {
    const LinuxCommand command = Parse(args);
    EXPECT_EQ(command.mode, LinuxMode::InWindow);
    EXPECT_EQ(command.window, 0x400001u);
  }
  const LinuxCommand garbage = Parse({"-window-id", "garbage"});
  EXPECT_EQ(garbage.mode, LinuxMode::Error);
  EXPECT_NE(garbage.error.find("garbage"), std::string::npos);
  EXPECT_EQ(Parse({"--window-id"}).mode, LinuxMode::Error);
}

TEST(ParseLinuxCommand, OrdinaryWindowHelpAndVersion) {
  EXPECT_EQ(Parse({"-window"}).mode, LinuxMode::OrdinaryWindow);
  EXPECT_EQ(Parse({"--window", "-fps"}).mode, LinuxMode::OrdinaryWindow);
  EXPECT_EQ(Parse({"--help"}).mode, LinuxMode::Help);
  EXPECT_EQ(Parse({"/s", "-help"}).mode, LinuxMode::Help);
  EXPECT_EQ(Parse({"--version"}).mode, LinuxMode::Version);
  EXPECT_NE(UsageText().find("-window-id"), std::string::npos);
}

TEST(ModeLetter, FirstSignificantLetterLowered) {
  EXPECT_EQ(ModeLetter("  -/S"), 's');
  EXPECT_EQ(ModeLetter("/P 12"), 'p');
  EXPECT_EQ(ModeLetter(""), 0);
  EXPECT_EQ(ModeLetter(" / -"), 0);
}

}  // namespace
}  // namespace grazefall::host
