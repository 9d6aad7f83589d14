#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "host/linux/render/frame_trace.h"
#include "host/linux/render/png_encoder.h"
#include "options/options_store.h"
#include "platform/headless/headless_platform.h"
#include "saver/animation.h"
#include "saver/animation_state.h"
#include "tests/host/linux/render/render_in_process.h"
#include "tests/support/scene_rig.h"
#include "tests/support/scoped_env.h"

namespace grazefall {
namespace {

uint32_t BigEndian32(const std::vector<uint8_t>& bytes, size_t at) {
  return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
         (uint32_t{bytes[at + 2]} << 8) | uint32_t{bytes[at + 3]};
}

struct Chunk {
  std::string type;
  std::vector<uint8_t> data;
  bool crcOk;
};

std::vector<Chunk> ReadChunks(const std::vector<uint8_t>& png) {
  std::vector<Chunk> chunks;
  size_t at = 8;
  while (at + 12 <= png.size()) {
    const uint32_t length = BigEndian32(png, at);
    if (at + 12 + length > png.size()) break;
    Chunk chunk;
    chunk.type.assign(png.begin() + static_cast<long>(at) + 4,
                      png.begin() + static_cast<long>(at) + 8);
    chunk.data.assign(png.begin() + static_cast<long>(at) + 8,
                      png.begin() + static_cast<long>(at + 8 + length));
    const uLong crc = crc32(0L, png.data() + at + 4, static_cast<uInt>(length + 4));
    chunk.crcOk = crc == BigEndian32(png, at + 8 + length);
    chunks.push_back(chunk);
    at += 12 + length;
  }
  return chunks;
}

TEST(PngEncoder, RowsOfRedGreenBlueBehindAValidSignatureAndChunks) {
  platform::Picture picture = testing::SolidPicture(3, 2, platform::Rgb(0, 0, 0));
  testing::PutPixel(picture, 0, 0, platform::Rgb(255, 0, 0));
  testing::PutPixel(picture, 2, 0, platform::Rgb(1, 2, 3));
  testing::PutPixel(picture, 1, 1, platform::Rgb(0, 0, 255));
  const std::vector<uint8_t> png = EncodePng(picture);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
            (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
  const std::vector<Chunk> chunks = ReadChunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");
  for (const Chunk& chunk : chunks) EXPECT_TRUE(chunk.crcOk) << chunk.type;
  EXPECT_EQ(chunks[0].data, (std::vector<uint8_t>{0, 0, 0, 3, 0, 0, 0, 2, 8, 2, 0, 0, 0}));

  std::vector<uint8_t> raw(2 * (1 + 3 * 3));
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &rawSize, chunks[1].data.data(), chunks[1].data.size()), Z_OK);
  ASSERT_EQ(rawSize, raw.size());
  EXPECT_EQ(raw, (std::vector<uint8_t>{0, 255, 0, 0, 0, 0, 0,   1, 2, 3,  //
                                       0, 0,   0, 0, 0, 0, 255, 0, 0, 0}));
}

TEST(PngEncoder, RefusesPicturesWithoutPixels) {
  EXPECT_TRUE(EncodePng(platform::Picture{}).empty());
  platform::Picture lying;
  lying.width = 100;
  lying.height = 100;
  lying.pixels.resize(10);
  EXPECT_TRUE(EncodePng(lying).empty());
}

class FrameTrace : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::RegisterScenePictures(platform);
    platform.setTimeSeconds(5);
  }
  platform::HeadlessPlatform platform;
};

TEST_F(FrameTrace, LineCarriesTheStatesAndEverySpriteInListOrder) {
  ScenarioOptions options = classicPreset;
  options.herdSize = 3;
  options.fallSpeed = -2;
  auto animation = NewAnimation(platform, options);
  ASSERT_TRUE(StartAnimation(*animation, 1));
  const uint32_t pause = RunFrame(*animation);
  animation->gust = Gust{1, 17, 5};
  animation->messages = MessageState{42, 7, 10, 20};
  const std::string line = FrameTraceLine(*animation, 12, false, pause);
  EXPECT_EQ(line,
            "{\"frame\":12,\"loading\":false,\"introPhase\":0,\"introStage\":1,"
            "\"introTicks\":1,\"ufo\":[-139,-50],"
            "\"gust\":{\"active\":1,\"framesLeft\":17,\"direction\":5},"
            "\"message\":{\"index\":7,\"framesLeft\":42,\"x\":10,\"y\":20},\"sleepMs\":10,"
            "\"herd\":[[400,-72,51,1,0],[298,-144,51,1,0],[400,-144,51,1,0]],"
            "\"explosions\":[],\"tears\":[]}");
  EXPECT_NE(FrameTraceLine(*animation, 1, true, pause).find("\"loading\":true"), std::string::npos);
  EXPECT_NE(FrameTraceLine(*animation, 1, true, pause).find("\"sleepMs\":0,"), std::string::npos)
      << "a loading frame asks for no pause";
}

// Runs `grazefall --render` in this process on `headless`, with a settings
// directory of its own holding nothing, so the options come from the
// headless platform's store.
int RenderInProcess(platform::HeadlessPlatform& headless, std::vector<std::string> args) {
  const std::string configHome = ::testing::TempDir() + "/render-config-home";
  std::filesystem::remove_all(configHome);
  std::filesystem::create_directories(configHome);
  const testing::ScopedEnv scoped("XDG_CONFIG_HOME", configHome.c_str());
  return testing::RenderInProcess(headless, std::move(args));
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(RenderCommand, TracesEachFramesPauseButNeverSleepsIt) {
  platform::HeadlessPlatform headless;
  ScenarioOptions stored = classicPreset;
  stored.herdSize = 3;
  stored.introPhase = 2;
  stored.conspiracyMessages = 0;
  stored.fallSpeed = -4;
  OptionsStore store(headless.settingsStore());
  ASSERT_EQ(WriteOptions(store, stored, "Options"), platform::kOk);

  const std::string directory = ::testing::TempDir() + "/render-pause";
  const std::string trace = directory + "/trace.jsonl";
  std::filesystem::remove_all(directory);
  ASSERT_EQ(RenderInProcess(headless, {"--render", directory, "--frames", "4", "--seed", "3",
                                       "--trace", trace}),
            0);
  EXPECT_EQ(headless.totalSleptMs(), 0u);
  const std::vector<std::string> lines = ReadLines(trace);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(static_cast<int64_t>(lines.size()), headless.presentedFrames());
  for (size_t n = lines.size() - 4; n < lines.size(); ++n) {
    EXPECT_NE(lines[n].find("\"loading\":false"), std::string::npos) << lines[n];
    EXPECT_NE(lines[n].find("\"sleepMs\":50,"), std::string::npos) << lines[n];
  }
}

// Every PNG file in `directory`, by name.
std::vector<std::string> PngFiles(const std::string& directory) {
  std::vector<std::string> names;
  if (!std::filesystem::is_directory(directory)) return names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    if (entry.path().extension() == ".png") names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(RenderCommand, NoFramesWritesNoPictureButTracesTheSameRun) {
  const std::string root = ::testing::TempDir() + "/render-no-frames";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  const auto render = [&](const std::string& name, bool frames) {
    std::vector<std::string> args = {"--render",  root + "/" + name, "--frames",
                                     "20",        "--seed",          "11",
                                     "--mode",    "160x120x16",      "--scenario",
                                     "Halloween", "--trace",         root + "/" + name + ".jsonl"};
    if (!frames) args.insert(args.begin() + 2, "--no-frames");
    platform::HeadlessPlatform headless;
    return RenderInProcess(headless, args);
  };
  ASSERT_EQ(render("with", true), 0);
  ASSERT_EQ(render("without", false), 0);

  EXPECT_GE(PngFiles(root + "/with").size(), 20u);
  EXPECT_EQ(PngFiles(root + "/without"), std::vector<std::string>{});
  const std::vector<std::string> traced = ReadLines(root + "/with.jsonl");
  EXPECT_GE(traced.size(), 20u);
  EXPECT_EQ(ReadLines(root + "/without.jsonl"), traced);
}

TEST(RenderCommand, UsageNamesNoFrames) {
  ::testing::internal::CaptureStdout();
  platform::HeadlessPlatform headless;
  EXPECT_EQ(RenderInProcess(headless, {"--render", "--help"}), 0);
  EXPECT_NE(::testing::internal::GetCapturedStdout().find("--no-frames"), std::string::npos);
}

}  // namespace
}  // namespace grazefall
