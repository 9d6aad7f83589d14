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

#include "host/linux/render/render_command.h"
#include "options/options.h"
#include "platform/headless/headless_platform.h"
#include "platform/linux/directory_settings_store.h"

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
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
  }
  void TearDown() override {
    if (saved_) {
      setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
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
    std::vector<std::string> args = {"grazefall",
                                     "--render",
                                     out.string(),
                                     "--frames",
                                     std::to_string(steps),
                                     "--seed",
                                     "7",
                                     "--mode",
                                     "320x240x16",
                                     "--trace",
                                     (root_ / (name + ".jsonl")).string()};
    if (!frames) args.push_back("--no-frames");
    args.insert(args.end(), flags.begin(), flags.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    platform::HeadlessPlatform headless;
    EXPECT_EQ(app::RunRenderCommand(static_cast<int>(argv.size()), argv.data(), headless), 0)
        << name;
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
  std::optional<std::string> saved_;
};

TEST_F(OptionFlagsRenderTest, EachFlagRendersAsTheSameStoredRecord) {
  for (const FlagCase& c : Cases()) {
    std::string label;
    for (const std::string& flag : c.flags) label += flag + " ";
    Store(BaseRecord());
    const std::string unflagged = Render("base", {}, c.frames, c.frames_matter);
    const std::string flagged = Render("flagged", c.flags, c.frames, c.frames_matter);
    ScenarioOptions record = BaseRecord();
    c.sameInTheRecord(record);
    Store(record);
    const std::string stored = Render("stored", {}, c.frames, c.frames_matter);
    ASSERT_FALSE(flagged.empty()) << label;
    EXPECT_TRUE(flagged == stored) << label << "differs from the same stored record";
    EXPECT_FALSE(flagged == unflagged) << label << "changed nothing in " << c.frames << " frames";
  }
}

TEST_F(OptionFlagsRenderTest, AFlaggedRenderLeavesTheStoreAsItWas) {
  Store(BaseRecord());
  const fs::path stored = root_ / "config" / "grazefall" / "Options";
  const std::string before = ReadAll(stored);
  Render("flagged", {"--herd-size", "3", "--scenario", "custom"}, 2, false);
  EXPECT_EQ(ReadAll(stored), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "config" / "grazefall"),
                          fs::directory_iterator{}),
            1);
}

TEST_F(OptionFlagsRenderTest, ABadFlagValueIsACommandLineError) {
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--herd-size", "0"},
                                              {"--wind-power=11"},
                                              {"--heading", "north"},
                                              {"--scenario", "Autumn"},
                                              {"--explode=1"}}) {
    std::vector<std::string> args = {"grazefall", "--render", (root_ / "bad").string(), "--frames",
                                     "1"};
    args.insert(args.end(), bad.begin(), bad.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    platform::HeadlessPlatform headless;
    EXPECT_EQ(app::RunRenderCommand(static_cast<int>(argv.size()), argv.data(), headless), 2)
        << bad[0];
    EXPECT_FALSE(fs::exists(root_ / "bad")) << bad[0];
  }
}

}  // namespace
}  // namespace grazefall
