// grazefall --print-options, run as a user would run it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "options/options.h"
#include "tests/support/run_program.h"

namespace grazefall {
namespace {

namespace fs = std::filesystem;

class PrintOptionsCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::ProgramPath()) GTEST_SKIP() << "the grazefall program is not built here";
    std::string pattern = (fs::temp_directory_path() / "grazefall-print-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directory(root_ / "grazefall");
  }
  void TearDown() override {
    if (!root_.empty()) fs::remove_all(root_);
  }

  void Store(const std::string& name, const void* bytes, size_t size) {
    std::ofstream(root_ / "grazefall" / name, std::ios::binary)
        .write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  }
  testing::ProgramRun Print(const std::string& arguments,
                            testing::Streams streams = testing::Streams::kOutputOnly) {
    return testing::RunProgram("XDG_CONFIG_HOME='" + root_.string() + "'",
                               "--print-options " + arguments, streams);
  }

  fs::path root_;
};

TEST_F(PrintOptionsCommandTest, PrintsEveryFieldOnItsOwnLine) {
  ScenarioOptions record = halloweenPreset;
  std::strcpy(record.backgroundPath, "/home/me/barn.bmp");
  record.windDirection = -3;
  Store("Options", &record, sizeof record);
  const testing::ProgramRun run = Print("");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output,
            "herdSize: 200\ncowSize: 4\nintroPhase: 2\nconspiracyMessages: 0\n"
            "invertedPyramid: 0\nwrapCows: 0\nbackgroundPath: /home/me/barn.bmp\n"
            "backgroundMode: 0\nfallSpeed: 0\nheading: 4\nwindPower: 0\nwindDirection: -3\n"
            "constantWind: 0\nexplodeCows: 1\ntearsOfBlood: 1\nscreenWidth: 800\n"
            "screenHeight: 600\nscreenBitDepth: 16\nscenarioName: Halloween\n"
            "formatVersion: 2.2\n");
}

TEST_F(PrintOptionsCommandTest, UnterminatedAndOddTextsStayInsideTheirFields) {
  ScenarioOptions record = customPreset;
  std::memset(record.backgroundPath, 'a', sizeof record.backgroundPath);
  record.backgroundPath[0] = '\n';
  record.backgroundPath[1] = '\\';
  std::memcpy(record.scenarioName, "CustomCustomCust", kScenarioNameSize);
  record.formatVersion = 2.2000000000000006;
  Store("Custom", &record, sizeof record);
  const testing::ProgramRun run = Print("Custom");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.output.find("\nbackgroundPath: \\x0A\\\\" + std::string(258, 'a') + "\n"),
            std::string::npos);
  EXPECT_NE(run.output.find("\nscenarioName: CustomCustomCust\n"), std::string::npos);
  EXPECT_NE(run.output.find("\nformatVersion: 2.2000000000000006\n"), std::string::npos);
}

TEST_F(PrintOptionsCommandTest, MissingOrUnreadableRecordsAreReportedWithExitOne) {
  const testing::ProgramRun missing = Print("");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.output, "");
  const std::string tooLong(353, 'x');
  Store("Options", tooLong.data(), tooLong.size());
  EXPECT_EQ(Print("").exitCode, 1);
  EXPECT_EQ(Print("../grazefall/Options").exitCode, 1);
  EXPECT_EQ(Print("one two").exitCode, 2);
}

TEST_F(PrintOptionsCommandTest, TheMessageSaysWhyARecordCannotBeShown) {
  const auto message = [&](const std::string& value) {
    const testing::ProgramRun run = Print(value, testing::Streams::kOutputAndErrors);
    EXPECT_EQ(run.exitCode, 1) << value;
    return run.output;
  };
  EXPECT_NE(message("").find("there is no stored record \"Options\""), std::string::npos);
  // One byte more than a record: the store refuses it, and says so.
  const std::string tooLong(sizeof(ScenarioOptions) + 1, 'x');
  Store("Options", tooLong.data(), tooLong.size());
  const std::string longMessage = message("");
  EXPECT_NE(longMessage.find("\"Options\""), std::string::npos) << longMessage;
  EXPECT_NE(longMessage.find("too long"), std::string::npos) << longMessage;
  EXPECT_EQ(longMessage.find("no stored record"), std::string::npos) << longMessage;
  fs::create_directory(root_ / "grazefall" / "Classic");
  EXPECT_NE(message("Classic").find("cannot be read"), std::string::npos);
}

}  // namespace
}  // namespace grazefall
