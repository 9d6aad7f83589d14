// The Linux command line: which of XScreenSaver's options pick which mode,
// and what reaches HostMain.
#include <gtest/gtest.h>

#include <optional>
#include <string>
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

// Which mode each command line picks, the window it runs in and the letters
// that go on to HostMain.
TEST(ParseLinuxCommand, EachFormPicksItsModeWindowAndLetters) {
  struct Form {
    Args args;
    std::optional<std::string_view> env;  // XSCREENSAVER_WINDOW
    LinuxMode mode;
    uint64_t window = 0;
    std::string_view letters = "";
    bool frameRate = false;
  };
  using enum LinuxMode;
  for (const Form& f : {
           // Windows' letters go to the host as one line, the frame-rate option
           // with them.
           Form{{"/s"}, {}, Letters, 0, "/s"},
           Form{{"/p", "1234"}, {}, Letters, 0, "/p 1234"},
           Form{{}, {}, Letters},
           Form{{"/c:77"}, {}, Letters, 0, "/c:77"},
           Form{{"-fps", "/s"}, {}, Letters, 0, "/s", true},
           // XScreenSaver's window: the root itself unless the variable names one.
           Form{{"-root"}, {}, InWindow, 0},
           Form{{"--root"}, {}, InWindow, 0},
           Form{{"-root"}, "0x2a00007", InWindow, 0x2a00007},
           Form{{"--root"}, "0x2a00007", InWindow, 0x2a00007},
           // Started by XScreenSaver with nothing but its variable.
           Form{{}, "123", InWindow, 123},
           Form{{"-fps"}, "123", InWindow, 123, "", true},
           // A screen-saver letter still wins over a stray variable.
           Form{{"/c"}, "123", Letters, 0, "/c"},
           Form{{"-root"}, "junk", Error},
           Form{{"-window-id", "0x400001"}, {}, InWindow, 0x400001},
           Form{{"--window-id", "4194305"}, {}, InWindow, 0x400001},
           Form{{"--window-id=0x400001"}, {}, InWindow, 0x400001},
           Form{{"-window-id=4194305"}, {}, InWindow, 0x400001},
           Form{{"--window-id"}, {}, Error},
           Form{{"-window"}, {}, OrdinaryWindow},
           Form{{"--window", "-fps"}, {}, OrdinaryWindow, 0, "", true},
           Form{{"--help"}, {}, Help},
           Form{{"/s", "-help"}, {}, Help},
           Form{{"--version"}, {}, Version},
       }) {
    std::string line;
    for (std::string_view arg : f.args) line += std::string(arg) + " ";
    const LinuxCommand command = Parse(f.args, f.env);
    EXPECT_EQ(command.mode, f.mode) << line;
    if (f.mode == Error) continue;
    EXPECT_EQ(command.window, f.window) << line;
    EXPECT_EQ(command.letters, f.letters) << line;
    EXPECT_EQ(command.showFrameRate, f.frameRate) << line;
  }
  const LinuxCommand garbage = Parse({"-window-id", "garbage"});
  EXPECT_EQ(garbage.mode, LinuxMode::Error);
  EXPECT_NE(garbage.error.find("garbage"), std::string::npos);
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
