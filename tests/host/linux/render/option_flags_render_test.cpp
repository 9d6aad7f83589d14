// The option flags run the animation exactly as a stored record holding the
// same values: a render with a flag and a render whose stored record already
// says it give the same trace (and, for the background, the same frames).
// Each case also differs from the unflagged render, so a flag that did
// nothing would show.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "options/options.h"
#include "platform/headless/headless_platform.h"
#include "platform/linux/directory_settings_store.h"
#include "tests/host/linux/render/render_in_process.h"
#include "tests/support/scoped_env.h"

namespace grazefall {
namespace {

namespace fs = std::filesystem;

struct FlagCase {
  std::vector<std::string> flags;
  std::function<void(ScenarioOptions&)> sameInTheRecord;
  int frames = 60;
  // Compare the frames too: what the trace does not show.
  bool frames_matter = false;
};

std::string SaucerPicture() {
  return std::string(GRAZEFALL_TEST_SOURCE_DIR) + "/resources/bitmaps/121-saucer.bmp";
}

// A record the flags can visibly change: a herd with wind, no intro.
ScenarioOptions BaseRecord() {
  ScenarioOptions record = classicPreset;
  record.introPhase = 2;
  record.herdSize = 20;
  record.windPower = 4;
  record.constantWind = 1;
  record.cowSize = kCowMedium;
  return record;
}

std::vector<FlagCase> Cases() {
  return {
      {{"--herd-size", "40"}, [](ScenarioOptions& o) { o.herdSize = 40; }},
      {{"-cow-size", "tiny"}, [](ScenarioOptions& o) { o.cowSize = kCowTiny; }},
      {{"--falling-speed=-5"}, [](ScenarioOptions& o) { o.fallSpeed = -5; }},
      {{"--falling-speed", "5"}, [](ScenarioOptions& o) { o.fallSpeed = 5; }},
      {{"--heading", "up"}, [](ScenarioOptions& o) { o.heading = kHeadingUp; }},
      {{"--wind-power", "10"}, [](ScenarioOptions& o) { o.windPower = 10; }},
      {{"--wind-direction=r-left"}, [](ScenarioOptions& o) { o.windDirection = -3; }},
      {{"--no-constant-wind"}, [](ScenarioOptions& o) { o.constantWind = 0; }},
      {{"--explode"}, [](ScenarioOptions& o) { o.explodeCows = 1; }, 200},
      {{"--tears"}, [](ScenarioOptions& o) { o.tearsOfBlood = 1; }},
      {{"--no-messages"}, [](ScenarioOptions& o) { o.conspiracyMessages = 0; }, 400},
      {{"-intro"}, [](ScenarioOptions& o) { o.introPhase = 0; }},
      {{"--no-pyramid"}, [](ScenarioOptions& o) { o.invertedPyramid = 0; }},
      {{"--wrap", "--wind-direction", "left"},
       [](ScenarioOptions& o) {
         o.wrapCows = 1;
         o.windDirection = 3;
       },
       150},
      {{"--background", SaucerPicture(), "--background-mode", "stretch"},
       [](ScenarioOptions& o) {
         std::strcpy(o.backgroundPath, SaucerPicture().c_str());
         o.backgroundMode = 2;
       },
       2,
       true},
      {{"--scenario", "HALLOWEEN", "--herd-size", "30"},
       [](ScenarioOptions& o) {
         ScenarioOptions halloween = halloweenPreset;
         halloween.herdSize = 30;
         halloween.screenWidth = o.screenWidth;
         halloween.screenHeight = o.screenHeight;
         halloween.screenBitDepth = o.screenBitDepth;
         o = halloween;
       }},
  };
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class OptionFlagsRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(::testing::TempDir()) / ("option-flags-render-" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "config");
    configHome_.emplace("XDG_CONFIG_HOME", (root_ / "config").c_str());
  }
  void TearDown() override {
    configHome_.reset();
    fs::remove_all(root_);
  }

  void Store(const ScenarioOptions& record) {
    platform::DirectorySettingsStore store((root_ / "config" / "grazefall").string());
    ASSERT_EQ(store.write("Options", std::as_bytes(std::span<const ScenarioOptions>(&record, 1))),
              platform::kOk);
  }

  // The trace, and with `frames` the last PNG, of a render over the stored
  // record with the flags on top.
  std::string Render(const std::string& name, const std::vector<std::string>& flags, int steps,
                     bool frames) {
    const fs::path out = root_ / name;
    std::vector<std::string> args = {"--render", out.string(),
                                     "--frames", std::to_string(steps),
                                     "--seed",   "7",
                                     "--mode",   "320x240x16",
                                     "--trace",  (root_ / (name + ".jsonl")).string()};
    if (!frames) args.push_back("--no-frames");
    args.insert(args.end(), flags.begin(), flags.end());
    platform::HeadlessPlatform headless;
    EXPECT_EQ(testing::RenderInProcess(headless, args), 0) << name;
    std::string result = ReadAll(root_ / (name + ".jsonl"));
    if (frames) {
      char last[32];
      std::snprintf(last, sizeof last, "frame-%05lld.png",
                    static_cast<long long>(headless.presentedFrames()));
      result += ReadAll(out / last);
    }
    return result;
  }

  fs::path root_;
  std::optional<testing::ScopedEnv> configHome_;
};

// The flagged render also leaves the store as it was: the one stored record,
// byte for byte, and nothing written beside it.
TEST_F(OptionFlagsRenderTest, EachFlagRendersAsTheSameStoredRecordAndStoresNothing) {
  const fs::path folder = root_ / "config" / "grazefall";
  for (const FlagCase& c : Cases()) {
    std::string label;
    for (const std::string& flag : c.flags) label += flag + " ";
    Store(BaseRecord());
    const std::string before = ReadAll(folder / "Options");
    const std::string unflagged = Render("base", {}, c.frames, c.frames_matter);
    const std::string flagged = Render("flagged", c.flags, c.frames, c.frames_matter);
    EXPECT_EQ(ReadAll(folder / "Options"), before) << label;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 1) << label;
    ScenarioOptions record = BaseRecord();
    c.sameInTheRecord(record);
    Store(record);
    const std::string stored = Render("stored", {}, c.frames, c.frames_matter);
    ASSERT_FALSE(flagged.empty()) << label;
    EXPECT_TRUE(flagged == stored) << label << "differs from the same stored record";
    EXPECT_FALSE(flagged == unflagged) << label << "changed nothing in " << c.frames << " frames";
  }
}

// A refused value is a command-line error: its one line on stderr, exit 2,
// nothing written.
TEST_F(OptionFlagsRenderTest, ABadFlagValueIsACommandLineError) {
  struct Bad {
    std::vector<std::string> flags;
    std::string line;
  };
  for (const Bad& bad :
       {Bad{{"--herd-size", "0"}, "--herd-size: '0' is not a whole number from 1 to 10000"},
        Bad{{"--herd-size", "10001"}, "--herd-size: '10001' is not a whole number from 1 to 10000"},
        Bad{{"--falling-speed", "-6"}, "--falling-speed: '-6' is not a whole number from -5 to 5"},
        Bad{{"--falling-speed=6"}, "--falling-speed: '6' is not a whole number from -5 to 5"},
        Bad{{"--wind-power", "-1"}, "--wind-power: '-1' is not a whole number from 0 to 10"},
        Bad{{"--wind-power=11"}, "--wind-power: '11' is not a whole number from 0 to 10"},
        Bad{{"--heading", "north"}, "--heading: 'north' is not one of right, up, left or down"},
        Bad{{"--scenario", "Autumn"},
            "--scenario: 'Autumn' is not a scenario (classic, invasion, halloween or custom)"},
        Bad{{"--explode=1"},
            "--explode takes no value, not '1' (use --explode or --no-explode)"}}) {
    std::vector<std::string> args = {"--render", (root_ / "bad").string(), "--frames", "1"};
    args.insert(args.end(), bad.flags.begin(), bad.flags.end());
    platform::HeadlessPlatform headless;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(testing::RenderInProcess(headless, args), 2) << bad.flags[0];
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "grazefall: " + bad.line + "\n");
    EXPECT_FALSE(fs::exists(root_ / "bad")) << bad.flags[0];
  }
}

}  // namespace
}  // namespace grazefall
