// --render --gif: the file decodes, loops, holds the kept steps at the
// display's size, each frame shown for its steps' time, and its last frame,
// put together as a viewer would, is exactly the last presented frame.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "host/linux/render/gif_writer.h"
#include "platform/headless/headless_platform.h"
#include "tests/host/linux/render/render_in_process.h"

namespace grazefall {
namespace {

namespace fs = std::filesystem;

struct Decoded {
  int width = 0;
  int height = 0;
  std::vector<int> delays;
  bool loops = false;
  // What a viewer shows after the last frame.
  std::vector<platform::ColorRef> shown;
};

// Every frame drawn over the ones before (none is disposed of), its
// transparent pixels leaving them be.
Decoded Decode(const std::string& path) {
  Decoded decoded;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr) return decoded;
  if (DGifSlurp(gif) != GIF_OK) {
    DGifCloseFile(gif, &error);
    return decoded;
  }
  decoded.width = gif->SWidth;
  decoded.height = gif->SHeight;
  decoded.shown.assign(static_cast<size_t>(gif->SWidth) * static_cast<size_t>(gif->SHeight), 0);
  // The looping block comes before the first frame, and giflib keeps it
  // with that frame.
  for (int e = 0; gif->ImageCount > 0 && e < gif->SavedImages[0].ExtensionBlockCount; ++e) {
    const ExtensionBlock& block = gif->SavedImages[0].ExtensionBlocks[e];
    if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
        std::string(reinterpret_cast<char*>(block.Bytes), 11) == "NETSCAPE2.0")
      decoded.loops = true;
  }
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(gif, i, &control);
    decoded.delays.push_back(control.DelayTime);
    const ColorMapObject* table =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    const GifImageDesc& at = image.ImageDesc;
    for (int y = 0; y < at.Height; ++y) {
      for (int x = 0; x < at.Width; ++x) {
        const int index = image.RasterBits[y * at.Width + x];
        if (index == control.TransparentColor) continue;
        const GifColorType colour = table->Colors[index];
        decoded.shown[static_cast<size_t>(at.Top + y) * static_cast<size_t>(decoded.width) +
                      static_cast<size_t>(at.Left + x)] =
            platform::Rgb(colour.Red, colour.Green, colour.Blue);
      }
    }
  }
  DGifCloseFile(gif, &error);
  return decoded;
}

class GifOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(::testing::TempDir()) / ("gif-output-" + std::to_string(getpid()));
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  // Renders and returns the last presented frame.
  platform::Picture Render(std::vector<std::string> extra) {
    std::vector<std::string> args = {"--render",
                                     (root_ / "out").string(),
                                     "--no-frames",
                                     "--seed",
                                     "3",
                                     "--scenario",
                                     "invasion",
                                     "--gif",
                                     (root_ / "run.gif").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    platform::HeadlessPlatform headless;
    EXPECT_EQ(testing::RenderInProcess(headless, args), 0);
    return headless.lastPresentedFrame();
  }

  fs::path root_;
};

TEST_F(GifOutputTest, KeptStepsAtTheDisplaysSizeEachShownForItsStepsEndingOnTheLastFrame) {
  struct Run {
    const char* mode;
    const char* frames;
    const char* step;
    const char* from;         // none: from the first step
    std::vector<int> delays;  // in 10 ms ticks
  };
  for (const Run& run : {
           // Every step, one 10 ms tick each (Invasion asks for no pause), at 16
           // bits a pixel and on a display with its own 256-colour palette.
           Run{"160x120x16", "12", "1", nullptr, std::vector<int>(12, 1)},
           Run{"96x64x8", "12", "1", nullptr, std::vector<int>(12, 1)},
           // Steps 4, 7 and 10 of 10: the first two cover three steps each, the
           // last one only its own.
           Run{"64x48x16", "10", "3", "4", {3, 3, 1}},
       }) {
    std::vector<std::string> args = {"--frames", run.frames, "--gif-step",
                                     run.step,   "--mode",   run.mode};
    if (run.from != nullptr) args.insert(args.end(), {"--gif-from", run.from});
    const platform::Picture last = Render(args);
    const Decoded gif = Decode((root_ / "run.gif").string());
    EXPECT_EQ(gif.delays, run.delays) << run.mode;
    EXPECT_EQ(gif.width, last.width) << run.mode;
    EXPECT_EQ(gif.height, last.height) << run.mode;
    EXPECT_TRUE(gif.loops) << run.mode;
    EXPECT_TRUE(gif.shown == last.pixels) << run.mode << ": the last frame differs";
  }
}

TEST(GifWriter, ManyColoursAreQuantisedAndUnchangedFramesStillTakeTheirTime) {
  const fs::path path =
      fs::path(::testing::TempDir()) / ("many-colours-" + std::to_string(getpid()) + ".gif");
  std::string problem;
  auto writer = GifWriter::Create(path.string(), 64, 64, &problem);
  ASSERT_NE(writer, nullptr) << problem;
  platform::Picture ramp;
  ramp.width = 64;
  ramp.height = 64;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      ramp.pixels.push_back(platform::Rgb(static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 4),
                                          static_cast<uint8_t>((x + y) * 2)));
  EXPECT_TRUE(writer->add(ramp, 5));
  EXPECT_TRUE(writer->add(ramp, 7));
  EXPECT_TRUE(writer->finish());
  const Decoded gif = Decode(path.string());
  EXPECT_EQ(gif.delays, (std::vector<int>{5, 7}));
  // 4096 colours in at most 255: each pixel close to its own colour.
  ASSERT_EQ(gif.shown.size(), ramp.pixels.size());
  int worst = 0;
  for (size_t i = 0; i < ramp.pixels.size(); ++i) {
    worst =
        std::max({worst, std::abs(platform::RedOf(gif.shown[i]) - platform::RedOf(ramp.pixels[i])),
                  std::abs(platform::GreenOf(gif.shown[i]) - platform::GreenOf(ramp.pixels[i])),
                  std::abs(platform::BlueOf(gif.shown[i]) - platform::BlueOf(ramp.pixels[i]))});
  }
  EXPECT_LE(worst, 48);
  fs::remove(path);
}

TEST(GifWriter, AFrameOfAnotherSizeIsRefused) {
  const fs::path path =
      fs::path(::testing::TempDir()) / ("wrong-size-" + std::to_string(getpid()) + ".gif");
  std::string problem;
  auto writer = GifWriter::Create(path.string(), 8, 8, &problem);
  ASSERT_NE(writer, nullptr) << problem;
  platform::Picture small;
  small.width = 4;
  small.height = 4;
  small.pixels.assign(16, 0);
  EXPECT_FALSE(writer->add(small, 1));
  EXPECT_FALSE(writer->finish());
  EXPECT_EQ(GifWriter::Create((fs::path(::testing::TempDir()) / "no/such/dir.gif").string(), 8, 8,
                              &problem),
            nullptr);
  EXPECT_FALSE(problem.empty());
  fs::remove(path);
}

}  // namespace
}  // namespace grazefall
