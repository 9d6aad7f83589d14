#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/linux/render/frame_trace.h"
#include "host/linux/render/png_encoder.h"
#include "platform/headless/headless_platform.h"
#include "saver/animation.h"
#include "saver/animation_state.h"
#include "tests/support/scene_rig.h"

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
    testing::RegisterScenePictures(*platform);
    platform->setTimeSeconds(5);
  }
  platform::ScopedHeadlessPlatform platform;
};

TEST_F(FrameTrace, LineCarriesTheStatesAndEverySpriteInListOrder) {
  ScenarioOptions options = classicPreset;
  options.herdSize = 3;
  options.fallSpeed = -2;
  auto animation = NewAnimation(options);
  animation->skipFrameSleep = true;
  ASSERT_EQ(StartAnimation(*animation, 1), 0);
  RunFrame(*animation);
  animation->gust = Gust{1, 17, 5};
  animation->messages = MessageState{42, 7, 10, 20};
  const std::string line = FrameTraceLine(*animation, 12, false);
  EXPECT_EQ(line,
            "{\"frame\":12,\"loading\":false,\"introPhase\":0,\"introStage\":1,"
            "\"introTicks\":1,\"ufo\":[-139,-50],"
            "\"gust\":{\"active\":1,\"framesLeft\":17,\"direction\":5},"
            "\"message\":{\"index\":7,\"framesLeft\":42,\"x\":10,\"y\":20},\"sleepMs\":10,"
            "\"herd\":[[400,-72,51,1,0],[298,-144,51,1,0],[400,-144,51,1,0]],"
            "\"explosions\":[],\"tears\":[]}");
  EXPECT_NE(FrameTraceLine(*animation, 1, true).find("\"loading\":true"), std::string::npos);
  EXPECT_NE(FrameTraceLine(*animation, 1, true).find("\"sleepMs\":0"), std::string::npos);
}

}  // namespace
}  // namespace grazefall
