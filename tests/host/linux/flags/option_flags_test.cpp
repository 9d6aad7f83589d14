// The run-time option flags: every spelling XScreenSaver or a person uses,
// each range at both ends, the complaints, and what they do to a record.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/linux/flags/option_flags.h"
#include "platform/headless/headless_platform.h"
#include "platform/platform.h"

namespace grazefall::flags {
namespace {

struct Parsed {
  OptionFlags flags;
  FlagMatch match = FlagMatch::NotAFlag;
  size_t next = 0;
  std::string error;
};

Parsed Take(std::vector<std::string_view> args) {
  Parsed parsed;
  parsed.match = TakeOptionFlag(args, &parsed.next, &parsed.flags, &parsed.error);
  return parsed;
}

TEST(TakeOptionFlag, OneDashTwoDashesAndTheEqualsFormAreTheSame) {
  for (const auto& args : std::vector<std::vector<std::string_view>>{
           {"-herd-size", "40"}, {"--herd-size", "40"}, {"--herd-size=40"}, {"-herd-size=40"}}) {
    const Parsed parsed = Take(args);
    ASSERT_EQ(parsed.match, FlagMatch::Taken) << args[0];
    EXPECT_EQ(parsed.flags.herdSize, 40) << args[0];
    EXPECT_EQ(parsed.next, args.size()) << args[0];
  }
}

TEST(TakeOptionFlag, NumbersAreTakenAtBothEndsAndRefusedJustBeyond) {
  struct Range {
    const char* flag;
    int lowest;
    int highest;
    std::optional<int32_t> OptionFlags::*field;
  };
  for (const Range& range : {Range{"--herd-size", 1, 10000, &OptionFlags::herdSize},
                             Range{"--falling-speed", -5, 5, &OptionFlags::fallSpeed},
                             Range{"--wind-power", 0, 10, &OptionFlags::windPower}}) {
    for (int value : {range.lowest, range.highest}) {
      const std::string text = std::to_string(value);
      const Parsed parsed = Take({range.flag, text});
      ASSERT_EQ(parsed.match, FlagMatch::Taken) << range.flag << " " << value;
      EXPECT_EQ(parsed.flags.*range.field, value);
    }
    // The complaint's whole line is checked where a render refuses them.
    for (int value : {range.lowest - 1, range.highest + 1})
      EXPECT_EQ(Take({range.flag, std::to_string(value)}).match, FlagMatch::Bad) << value;
  }
  for (const char* junk : {"", "4x", "ten", "1.5", "+", "99999999999"})
    EXPECT_EQ(Take({"--herd-size", junk}).match, FlagMatch::Bad) << junk;
}

// The words whose code is not plain to see: any case, the "r-" directions
// (up, down, left, right are -1 to -4) and the record's own background codes.
TEST(TakeOptionFlag, WordsMapToTheRecordsCodesInAnyCase) {
  struct Word {
    std::string_view flag;
    std::string_view word;
    std::optional<int32_t> OptionFlags::*field;
    int32_t code;
  };
  for (const Word& w : {Word{"--cow-size", "RANDOM", &OptionFlags::cowSize, kCowRandom},
                        Word{"--heading", "Left", &OptionFlags::heading, kHeadingLeft},
                        Word{"--wind-direction", "random", &OptionFlags::windDirection, 0},
                        Word{"--wind-direction", "down", &OptionFlags::windDirection, 4},
                        Word{"--wind-direction", "r-up", &OptionFlags::windDirection, -1},
                        Word{"--wind-direction", "r-down", &OptionFlags::windDirection, -2},
                        Word{"--wind-direction", "r-left", &OptionFlags::windDirection, -3},
                        Word{"--wind-direction", "R-Right", &OptionFlags::windDirection, -4},
                        Word{"--background-mode", "none", &OptionFlags::backgroundMode, 0},
                        Word{"--background-mode", "center", &OptionFlags::backgroundMode, 1},
                        Word{"--background-mode", "2", &OptionFlags::backgroundMode, 2}}) {
    const Parsed parsed = Take({w.flag, w.word});
    ASSERT_EQ(parsed.match, FlagMatch::Taken) << w.flag << " " << w.word;
    EXPECT_EQ(parsed.flags.*w.field, w.code) << w.flag << " " << w.word;
  }
  EXPECT_EQ(Take({"--scenario", "halloween"}).flags.scenario, "Halloween");
  EXPECT_EQ(Take({"-scenario=INVASION"}).flags.scenario, "Invasion");
}

TEST(TakeOptionFlag, SwitchesTakeNoValueAndHaveANoForm) {
  const Parsed on = Take({"-explode", "/s"});
  ASSERT_EQ(on.match, FlagMatch::Taken);
  EXPECT_EQ(on.flags.explodeCows, true);
  EXPECT_EQ(on.next, 1u);  // "/s" is left for the caller
  EXPECT_EQ(Take({"--no-explode"}).flags.explodeCows, false);
}

TEST(TakeOptionFlag, OtherArgumentsAreLeftAlone) {
  for (std::string_view other : {"/s", "-root", "--window-id", "-fps", "--no-such", "--herd"})
    EXPECT_EQ(Take({other, "1"}).match, FlagMatch::NotAFlag) << other;
}

// The complaint is the whole line a person reads: the flag, the value and
// what would have been taken. (The numbers', the scenario's, the heading's
// and a switch's are checked where a render refuses them.)
TEST(TakeOptionFlag, RefusalsSayWhatWouldHaveBeenTaken) {
  const std::string tooLong(kBackgroundPathSize, 'a');
  const std::string longest = std::to_string(kBackgroundPathSize - 1);
  struct Refusal {
    std::vector<std::string_view> args;
    std::string says;
  };
  for (const Refusal& r :
       {Refusal{{"--wind-direction", "north"},
                "--wind-direction: 'north' is not one of random, right, up, left, down, r-up, "
                "r-down, r-left or r-right"},
        Refusal{{"--cow-size", "huge"},
                "--cow-size: 'huge' is not one of tiny, medium, large or random"},
        Refusal{{"-background-mode=3"},
                "--background-mode: '3' is not one of none, center or stretch"},
        Refusal{{"--herd-size"}, "--herd-size needs a value"},
        Refusal{{"--background", ""},
                "--background: '' is not a file path of 1 to " + longest + " bytes"},
        Refusal{
            {"--background", tooLong},
            "--background: '" + tooLong + "' is not a file path of 1 to " + longest + " bytes"}}) {
    const Parsed parsed = Take(r.args);
    EXPECT_EQ(parsed.match, FlagMatch::Bad) << r.args[0];
    EXPECT_EQ(parsed.error, r.says);
  }
}

class ApplyOptionFlagsTest : public ::testing::Test {
 protected:
  platform::HeadlessPlatform headless_;
};

// What each flag does to the record is rendered end to end (a flagged run
// against the same stored record); here, that no flag changes nothing and
// that the saver, which applies flags only when there are any, sees each one.
TEST_F(ApplyOptionFlagsTest, NoFlagLeavesTheRecordAndEveryFlagCounts) {
  ScenarioOptions untouched = invasionPreset;
  ApplyOptionFlags(OptionFlags{}, headless_.settingsStore(), untouched);
  EXPECT_EQ(std::memcmp(&untouched, &invasionPreset, sizeof untouched), 0);
  EXPECT_FALSE(OptionFlags{}.any());
  for (const std::vector<std::string_view>& args :
       std::vector<std::vector<std::string_view>>{{"--scenario", "classic"},
                                                  {"--herd-size", "5"},
                                                  {"--cow-size", "tiny"},
                                                  {"--falling-speed", "0"},
                                                  {"--heading", "up"},
                                                  {"--wind-power", "0"},
                                                  {"--wind-direction", "up"},
                                                  {"--no-constant-wind"},
                                                  {"--no-explode"},
                                                  {"--no-tears"},
                                                  {"--no-messages"},
                                                  {"--no-intro"},
                                                  {"--no-pyramid"},
                                                  {"--no-wrap"},
                                                  {"--background", "/a.bmp"},
                                                  {"--background-mode", "none"}}) {
    const Parsed parsed = Take(args);
    ASSERT_EQ(parsed.match, FlagMatch::Taken) << args[0];
    EXPECT_TRUE(parsed.flags.any()) << args[0];
  }
}

TEST_F(ApplyOptionFlagsTest, AScenarioComesFromTheStoreElseItsPresetKeepingModeAndBackground) {
  ScenarioOptions mine = classicPreset;
  mine.screenWidth = 1024;
  mine.screenHeight = 768;
  mine.screenBitDepth = 32;
  std::strcpy(mine.backgroundPath, "/home/me/field.bmp");
  mine.backgroundMode = 1;

  OptionFlags flags;
  flags.scenario = "Halloween";
  ScenarioOptions fromPreset = mine;
  ApplyOptionFlags(flags, headless_.settingsStore(), fromPreset);
  EXPECT_EQ(fromPreset.herdSize, halloweenPreset.herdSize);
  EXPECT_EQ(fromPreset.explodeCows, 1);
  EXPECT_EQ(ScenarioNameOf(fromPreset), "Halloween");
  EXPECT_EQ(fromPreset.screenWidth, 1024);
  EXPECT_EQ(fromPreset.screenBitDepth, 32);
  EXPECT_EQ(BackgroundPathOf(fromPreset), "/home/me/field.bmp");
  EXPECT_EQ(fromPreset.backgroundMode, 1);

  // The user's stored Custom record wins over the preset; a flag on top wins
  // over both.
  ScenarioOptions stored = customPreset;
  stored.herdSize = 123;
  stored.windPower = 2;
  const auto image = std::as_bytes(std::span<const ScenarioOptions>(&stored, 1));
  headless_.memoryStore().plant("Custom", {image.begin(), image.end()});
  flags.scenario = "Custom";
  flags.windPower = 7;
  ScenarioOptions fromStore = mine;
  ApplyOptionFlags(flags, headless_.settingsStore(), fromStore);
  EXPECT_EQ(fromStore.herdSize, 123);
  EXPECT_EQ(fromStore.windPower, 7);
  EXPECT_EQ(fromStore.screenWidth, 1024);
  // Nothing was written.
  std::vector<std::byte> bytes(kOptionsRecordSize);
  size_t length = 0;
  EXPECT_NE(headless_.settingsStore().read("Options", bytes, &length), platform::kOk);
}

}  // namespace
}  // namespace grazefall::flags
