// The store procedures over the real Linux settings directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "options/options_store.h"
#include "platform/linux/directory_settings_store.h"
#include "tests/support/fake_platform.h"

namespace grazefall {
namespace {

namespace fs = std::filesystem;

class OptionsOnDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "grazefall-options-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    store_.emplace((root_ / "grazefall").string());
    fake_.store = &*store_;
    options_.emplace(*store_);
    activeOptions = classicPreset;
  }
  void TearDown() override {
    activeOptions = classicPreset;
    fs::remove_all(root_);
  }
  void Prepare() {
    const auto display = fake_.createDisplayDevice();
    PrepareOptionsStore(*options_, display.get());
  }

  fs::path root_;
  std::optional<platform::DirectorySettingsStore> store_;
  testing::FakePlatform fake_;
  std::optional<OptionsStore> options_;
};

TEST_F(OptionsOnDiskTest, FirstRunWritesFiveRecordFiles) {
  Prepare();
  for (const char* name : {"Options", "Classic", "Invasion", "Halloween", "Custom"}) {
    const fs::path file = root_ / "grazefall" / name;
    ASSERT_TRUE(fs::is_regular_file(file)) << name;
    EXPECT_EQ(fs::file_size(file), sizeof(ScenarioOptions)) << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "grazefall"), fs::directory_iterator()),
            5);

  ScenarioOptions options{};
  ASSERT_EQ(ReadOptions(*store_, options, "Options"), platform::kOk);
  EXPECT_EQ(options.screenWidth, 1024);
  EXPECT_EQ(ScenarioNameOf(options), "Classic");
}

TEST_F(OptionsOnDiskTest, GrownOptionsFileIsIgnoredByTheSaverAndResetByTheDialog) {
  Prepare();
  std::ofstream(root_ / "grazefall" / "Options", std::ios::app) << "trailing junk";

  activeOptions = invasionPreset;
  LoadSaverOptions(fake_);
  EXPECT_EQ(std::memcmp(&activeOptions, &invasionPreset, offsetof(ScenarioOptions, screenWidth)),
            0);
  EXPECT_EQ(activeOptions.screenWidth, 1024);

  activeOptions = classicPreset;
  Prepare();
  EXPECT_EQ(fs::file_size(root_ / "grazefall" / "Options"), sizeof(ScenarioOptions));
  EXPECT_EQ(ScenarioNameOf(activeOptions), "Classic");
}

TEST_F(OptionsOnDiskTest, UnwritableDirectoryLeavesTheDialogWorkingInMemory) {
  std::ofstream(root_ / "grazefall") << "in the way";
  Prepare();
  EXPECT_EQ(ScenarioNameOf(activeOptions), "Classic");
  EXPECT_EQ(activeOptions.screenWidth, 1024);
  SwitchScenario(*options_, "Invasion");  // nothing to read: stays Classic
  EXPECT_EQ(ScenarioNameOf(activeOptions), "Classic");
  SaveActiveOptions(*options_);
  EXPECT_TRUE(fs::is_regular_file(root_ / "grazefall"));
}

}  // namespace
}  // namespace grazefall
