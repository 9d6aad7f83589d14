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
    for (int value : {range.lowest - 1, range.highest + 1}) {
      const std::string text = std::to_string(value);
      const Parsed parsed = Take({range.flag, text});
      EXPECT_EQ(parsed.match, FlagMatch::Bad) << range.flag << " " << value;
      // The complaint names the flag, the value and the range.
      EXPECT_NE(parsed.error.find(range.flag), std::string::npos) << parsed.error;
      EXPECT_NE(parsed.error.find("'" + text + "'"), std::string::npos) << parsed.error;
      EXPECT_NE(
          parsed.error.find(std::to_string(range.lowest) + " to " + std::to_string(range.highest)),
          std::string::npos)
          << parsed.error;
    }
  }
  for (const char* junk : {"", "4x", "ten", "1.5", "+", "99999999999"})
    EXPECT_EQ(Take({"--herd-size", junk}).match, FlagMatch::Bad) << junk;
}

TEST(TakeOptionFlag, WordsMapToTheRecordsCodesInAnyCase) {
  EXPECT_EQ(Take({"--cow-size", "tiny"}).flags.cowSize, kCowTiny);
  EXPECT_EQ(Take({"--cow-size", "RANDOM"}).flags.cowSize, kCowRandom);
  EXPECT_EQ(Take({"--heading", "up"}).flags.heading, kHeadingUp);
  EXPECT_EQ(Take({"--heading", "Left"}).flags.heading, kHeadingLeft);
  EXPECT_EQ(Take({"--wind-direction", "random"}).flags.windDirection, 0);
  EXPECT_EQ(Take({"--wind-direction", "down"}).flags.windDirection, 4);
  // The "r-" codes run up, down, left, right.
  EXPECT_EQ(Take({"--wind-direction", "r-up"}).flags.windDirection, -1);
  EXPECT_EQ(Take({"--wind-direction", "r-down"}).flags.windDirection, -2);
  EXPECT_EQ(Take({"--wind-direction", "r-left"}).flags.windDirection, -3);
  EXPECT_EQ(Take({"--wind-direction", "R-Right"}).flags.windDirection, -4);
  EXPECT_EQ(Take({"--background-mode", "none"}).flags.backgroundMode, 0);
  EXPECT_EQ(Take({"--background-mode", "center"}).flags.backgroundMode, 1);
  EXPECT_EQ(Take({"--background-mode", "stretch"}).flags.backgroundMode, 2);
  EXPECT_EQ(Take({"--background-mode", "2"}).flags.backgroundMode, 2);
  EXPECT_EQ(Take({"--scenario", "halloween"}).flags.scenario, "Halloween");
  EXPECT_EQ(Take({"-scenario=INVASION"}).flags.scenario, "Invasion");

  const Parsed wrong = Take({"--wind-direction", "north"});
  EXPECT_EQ(wrong.match, FlagMatch::Bad);
  EXPECT_NE(wrong.error.find("--wind-direction"), std::string::npos) << wrong.error;
  EXPECT_NE(wrong.error.find("'north'"), std::string::npos) << wrong.error;
  EXPECT_NE(wrong.error.find("r-right"), std::string::npos) << wrong.error;
  EXPECT_EQ(Take({"--scenario", "Autumn"}).match, FlagMatch::Bad);
  EXPECT_EQ(Take({"--cow-size", "huge"}).match, FlagMatch::Bad);
  EXPECT_EQ(Take({"--background-mode", "3"}).match, FlagMatch::Bad);
}

TEST(TakeOptionFlag, SwitchesTakeNoValueAndHaveANoForm) {
  const Parsed on = Take({"-explode", "/s"});
  ASSERT_EQ(on.match, FlagMatch::Taken);
  EXPECT_EQ(on.flags.explodeCows, true);
  EXPECT_EQ(on.next, 1u);  // "/s" is left for the caller
  EXPECT_EQ(Take({"--no-explode"}).flags.explodeCows, false);
  EXPECT_EQ(Take({"--no-intro"}).flags.playIntro, false);
  EXPECT_EQ(Take({"--pyramid"}).flags.invertedPyramid, true);
  EXPECT_EQ(Take({"--no-constant-wind"}).flags.constantWind, false);
  EXPECT_EQ(Take({"--wrap"}).flags.wrapCows, true);
  EXPECT_EQ(Take({"--no-tears"}).flags.tearsOfBlood, false);
  EXPECT_EQ(Take({"--messages"}).flags.conspiracyMessages, true);
  EXPECT_EQ(Take({"--explode=yes"}).match, FlagMatch::Bad);
}

TEST(TakeOptionFlag, OtherArgumentsAreLeftAndMissingValuesRefused) {
  for (std::string_view other : {"/s", "-root", "--window-id", "-fps", "--no-such", "--herd"})
    EXPECT_EQ(Take({other, "1"}).match, FlagMatch::NotAFlag) << other;
  const Parsed missing = Take({"--herd-size"});
  EXPECT_EQ(missing.match, FlagMatch::Bad);
  EXPECT_NE(missing.error.find("--herd-size"), std::string::npos);
  EXPECT_EQ(Take({"--background", ""}).match, FlagMatch::Bad);
  EXPECT_EQ(Take({"--background", std::string(kBackgroundPathSize, 'a')}).match, FlagMatch::Bad);
}

class ApplyOptionFlagsTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::InstallPlatform(&headless_); }
  void TearDown() override { platform::InstallPlatform(nullptr); }
  platform::HeadlessPlatform headless_;
};

TEST_F(ApplyOptionFlagsTest, EachFlagSetsItsFieldAndNothingElse) {
  OptionFlags flags;
  flags.herdSize = 77;
  flags.cowSize = kCowTiny;
  flags.fallSpeed = -3;
  flags.heading = kHeadingLeft;
  flags.windPower = 9;
  flags.windDirection = -2;
  flags.constantWind = true;
  flags.explodeCows = true;
  flags.tearsOfBlood = true;
  flags.conspiracyMessages = false;
  flags.playIntro = false;
  flags.invertedPyramid = false;
  flags.wrapCows = true;
  flags.backgroundPath = "/pictures/field.bmp";
  flags.backgroundMode = 2;
  ScenarioOptions options = classicPreset;
  ApplyOptionFlags(flags, options);
  ScenarioOptions expected = classicPreset;
  expected.herdSize = 77;
  expected.cowSize = kCowTiny;
  expected.fallSpeed = -3;
  expected.heading = kHeadingLeft;
  expected.windPower = 9;
  expected.windDirection = -2;
  expected.constantWind = 1;
  expected.explodeCows = 1;
  expected.tearsOfBlood = 1;
  expected.conspiracyMessages = 0;
  expected.introPhase = 2;
  expected.invertedPyramid = 0;
  expected.wrapCows = 1;
  std::strcpy(expected.backgroundPath, "/pictures/field.bmp");
  expected.backgroundMode = 2;
  EXPECT_EQ(std::memcmp(&options, &expected, sizeof options), 0);

  // No flags: the record as it was.
  ScenarioOptions untouched = invasionPreset;
  ApplyOptionFlags(OptionFlags{}, untouched);
  EXPECT_EQ(std::memcmp(&untouched, &invasionPreset, sizeof untouched), 0);
  EXPECT_FALSE(OptionFlags{}.any());
  EXPECT_TRUE(flags.any());
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
  ApplyOptionFlags(flags, fromPreset);
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
  ApplyOptionFlags(flags, fromStore);
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
