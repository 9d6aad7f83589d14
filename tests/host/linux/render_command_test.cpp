// grazefall --render, run as a person at a command line runs it: a background
// picture or a mode it cannot use is named on stderr with the reason, and the
// command fails before it writes anything.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "tests/support/run_program.h"

namespace grazefall {
namespace {

namespace fs = std::filesystem;

class RenderCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::ProgramPath()) GTEST_SKIP() << "the grazefall program is not built here";
    std::string pattern = (fs::temp_directory_path() / "grazefall-render-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    if (!root_.empty()) fs::remove_all(root_);
  }

  testing::ProgramRun Render(const std::string& arguments) {
    return testing::RunProgram(
        "XDG_CONFIG_HOME='" + root_.string() + "'",
        "--render '" + (root_ / "out").string() + "' --frames 1 " + arguments,
        testing::Streams::kOutputAndErrors);
  }
  fs::path Write(const std::string& name, const std::string& bytes) {
    std::ofstream(root_ / name, std::ios::binary) << bytes;
    return root_ / name;
  }

  fs::path root_;
};

TEST_F(RenderCommandTest, ABackgroundThatCannotBeReadIsNamedWithItsReason) {
  std::ifstream saucer(std::string(GRAZEFALL_TEST_SOURCE_DIR) + "/resources/bitmaps/121-saucer.bmp",
                       std::ios::binary);
  const std::string picture{std::istreambuf_iterator<char>(saucer), {}};
  ASSERT_GT(picture.size(), 100u);
  ASSERT_EQ(::mkfifo((root_ / "fifo.bmp").c_str(), 0600), 0);
  fs::create_directory(root_ / "folder.bmp");
  const std::map<std::string, std::string> refusals = {
      {(root_ / "missing.bmp").string(), "no such file"},
      {(root_ / "folder.bmp").string(), "a directory"},
      {(root_ / "fifo.bmp").string(), "a FIFO"},
      {"/dev/zero", "a device"},
      {Write("cut.bmp", picture.substr(0, picture.size() / 2)).string(), "truncated"},
      {Write("notes.bmp", "not a picture at all").string(), "not a BMP file"},
  };
  for (const auto& [path, reason] : refusals) {
    const testing::ProgramRun run = Render("--background '" + path + "' --background-mode 1");
    EXPECT_EQ(run.exitCode, 1) << path << ": " << run.output;
    EXPECT_NE(run.output.find("'" + path + "': " + reason), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(root_ / "out")) << path;
  }
  // The whole picture is used without a word.
  const testing::ProgramRun whole =
      Render("--mode 320x240x16 --background '" + Write("whole.bmp", picture).string() +
             "' --background-mode 2");
  EXPECT_EQ(whole.exitCode, 0) << whole.output;
  EXPECT_EQ(whole.output, "");
  EXPECT_TRUE(fs::exists(root_ / "out" / "frame-00001.png"));
}

TEST_F(RenderCommandTest, ModesStopAtTheLargestDisplay) {
  for (const char* mode : {"16384x16384x32", "8193x600x16", "800x8193x8"}) {
    const testing::ProgramRun run = Render(std::string("--mode ") + mode);
    EXPECT_EQ(run.exitCode, 2) << mode;
    EXPECT_NE(run.output.find(std::string("--mode ") + mode +
                              " is larger than the largest "
                              "display, 8192x8192"),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(fs::exists(root_ / "out")) << mode;
  }
  const testing::ProgramRun usage = testing::RunProgram("", "--render --help");
  EXPECT_EQ(usage.exitCode, 0);
  EXPECT_NE(usage.output.find("--mode WxHxD"), std::string::npos) << usage.output;
  EXPECT_NE(usage.output.find("at most 8192x8192"), std::string::npos) << usage.output;
}

}  // namespace
}  // namespace grazefall
