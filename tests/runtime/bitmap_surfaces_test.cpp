#include "runtime/bitmap_surfaces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/headless/headless_platform.h"
#include "runtime/display.h"
#include "sprites/sprite_sheet.h"
#include "tests/support/test_sheets.h"

namespace grazefall {
namespace {

using platform::ColorRef;
using platform::kClrInvalid;
using platform::Rgb;
using testing::SolidPicture;

constexpr ColorRef kOddColor = Rgb(0x12, 0x34, 0x56);

class BitmapSurfaces : public ::testing::TestWithParam<int32_t> {
 protected:
  void openDisplay(int32_t bitDepth) {
    display.width = 800;
    display.height = 600;
    display.bitDepth = bitDepth;
    ASSERT_TRUE(OpenDisplay(display, headless, 1));
  }
  void SetUp() override { openDisplay(GetParam()); }

  std::unique_ptr<platform::Surface> surfaceOf(const platform::Picture& picture) {
    headless.addResourcePicture(7001, picture);
    return CreateSurfaceFromBitmap(headless, display.directDraw.get(), BitmapName{7001}, 0, 0);
  }

  platform::HeadlessPlatform headless;
  Display display;
};

// The colour key is the top-left pixel's value in the mode's own format:
// 3-3-2 bits at 8, 5-6-5 at 16, the full 0xRRGGBB at 24 and 32.
TEST_P(BitmapSurfaces, SheetKeyIsTheTopLeftPixelInTheModesFormat) {
  platform::Picture picture = SolidPicture(18, 13, Rgb(200, 10, 10));
  testing::PutPixel(picture, 0, 0, kOddColor);
  headless.addResourcePicture(114, picture);
  SpriteSheet sheet(display, 114);
  ASSERT_NE(sheet.surface(), nullptr);
  EXPECT_EQ(sheet.width(), 18);
  EXPECT_EQ(sheet.height(), 13);
  ASSERT_TRUE(sheet.surface()->hasColorKey());
  const int32_t depth = GetParam();
  const uint32_t expected = depth == 8 ? 0x05u : depth == 16 ? 0x11AAu : 0x123456u;
  EXPECT_EQ(sheet.surface()->colorKey(), expected);
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, BitmapSurfaces, ::testing::Values(8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bits"; });

class BitmapLoading : public BitmapSurfaces {};

TEST_P(BitmapLoading, CopiesWholeStretchedAndPartialRectangles) {
  // A 2 x 2 picture of four distinct colours.
  platform::Picture picture = SolidPicture(2, 2, Rgb(255, 0, 0));
  testing::PutPixel(picture, 1, 0, Rgb(0, 255, 0));
  testing::PutPixel(picture, 0, 1, Rgb(0, 0, 255));
  testing::PutPixel(picture, 1, 1, Rgb(255, 255, 255));

  auto same = display.directDraw->createOffscreen(2, 2);
  ASSERT_EQ(CopyBitmapToSurface(headless, same.get(), &picture, 0, 0, 0, 0), 0);
  EXPECT_EQ(same->getPixel(1, 0), Rgb(0, 255, 0));
  EXPECT_EQ(same->getPixel(0, 1), Rgb(0, 0, 255));

  // Width and height 0 take the whole picture, stretched onto a larger surface.
  auto larger = display.directDraw->createOffscreen(4, 4);
  ASSERT_EQ(CopyBitmapToSurface(headless, larger.get(), &picture, 0, 0, 0, 0), 0);
  EXPECT_EQ(larger->getPixel(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(larger->getPixel(1, 1), Rgb(255, 0, 0));
  EXPECT_EQ(larger->getPixel(3, 0), Rgb(0, 255, 0));
  EXPECT_EQ(larger->getPixel(2, 3), Rgb(255, 255, 255));

  // The one-pixel rectangle at (1, 1) fills the whole surface.
  ASSERT_EQ(CopyBitmapToSurface(headless, larger.get(), &picture, 1, 1, 1, 1), 0);
  EXPECT_EQ(larger->getPixel(0, 0), Rgb(255, 255, 255));
  EXPECT_EQ(larger->getPixel(3, 3), Rgb(255, 255, 255));
}

TEST_P(BitmapLoading, MissingOrBrokenArgumentsCopyNothing) {
  platform::Picture picture = SolidPicture(2, 2, Rgb(255, 255, 255));
  auto surface = display.directDraw->createOffscreen(2, 2);
  EXPECT_EQ(CopyBitmapToSurface(headless, nullptr, &picture, 0, 0, 0, 0), platform::kEFail);
  EXPECT_EQ(CopyBitmapToSurface(headless, surface.get(), nullptr, 0, 0, 0, 0), platform::kEFail);

  // A picture whose pixels do not fill its size is not read at all.
  platform::Picture shortOfPixels = picture;
  shortOfPixels.height = 50;
  EXPECT_EQ(CopyBitmapToSurface(headless, surface.get(), &shortOfPixels, 0, 0, 0, 0),
            platform::kEFail);
  EXPECT_EQ(surface->getPixel(1, 1), Rgb(0, 0, 0));
  const auto& lines = headless.debugLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "createcompatible dc failed\n"), lines.end());

  // The key setter accepts a missing surface.
  SetColorKeyFromColor(nullptr, kClrInvalid);
}

TEST_P(BitmapLoading, ResourceIdsNamesAndFilesAllLoad) {
  platform::Picture picture = testing::DrawSheet(testing::SheetLayout{});
  headless.addResourcePicture(170, picture);
  platform::DisplayDevice* device = display.directDraw.get();

  auto byId = CreateSurfaceFromBitmap(headless, device, BitmapName{170}, 0, 0);
  ASSERT_NE(byId, nullptr);
  EXPECT_EQ(byId->width(), picture.width);
  EXPECT_EQ(byId->height(), picture.height);

  // "#170" names the same resource.
  auto byName = CreateSurfaceFromBitmap(headless, device, BitmapName{std::string("#170")}, 0, 0);
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(byName->width(), picture.width);

  // A path to a .bmp file.
  const std::string path = ::testing::TempDir() + "/bitmap_surfaces_sheet.bmp";
  ASSERT_TRUE(testing::WriteBmp24(path, picture));
  auto byFile = CreateSurfaceFromBitmap(headless, device, BitmapName{path}, 0, 0);
  ASSERT_NE(byFile, nullptr);
  EXPECT_EQ(byFile->width(), picture.width);
  EXPECT_EQ(byFile->getPixel(1, 0), byId->getPixel(1, 0));
  EXPECT_EQ(byFile->getPixel(testing::FrameCentreX({}, 1), testing::FrameCentreY({}, 0)),
            byId->getPixel(testing::FrameCentreX({}, 1), testing::FrameCentreY({}, 0)));

  // A size asked for scales the picture to it.
  auto scaled = CreateSurfaceFromBitmap(headless, device, BitmapName{170}, 40, 30);
  ASSERT_NE(scaled, nullptr);
  EXPECT_EQ(scaled->width(), 40);
  EXPECT_EQ(scaled->height(), 30);
  std::remove(path.c_str());
}

TEST_P(BitmapLoading, UnloadableNamesGiveNoSurfaceAndSheetsThatDrawNothing) {
  platform::DisplayDevice* device = display.directDraw.get();
  EXPECT_EQ(CreateSurfaceFromBitmap(headless, device, BitmapName{987654}, 0, 0), nullptr);
  EXPECT_EQ(CreateSurfaceFromBitmap(headless, device,
                                    BitmapName{std::string("/nonexistent/cow.bmp")}, 0, 0),
            nullptr);
  EXPECT_EQ(CreateSurfaceFromBitmap(headless, device, BitmapName{std::string("#")}, 0, 0), nullptr);

  // A file that is not a bitmap.
  const std::string path = ::testing::TempDir() + "/bitmap_surfaces_not_a.bmp";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("BM but nothing else of a bitmap", file);
  std::fclose(file);
  EXPECT_EQ(CreateSurfaceFromBitmap(headless, device, BitmapName{path}, 0, 0), nullptr);
  std::remove(path.c_str());

  headless.addResourcePicture(118, SolidPicture(53, 38, Rgb(9, 9, 9)));
  EXPECT_EQ(CreateSurfaceFromBitmap(headless, nullptr, BitmapName{118}, 0, 0), nullptr);
  EXPECT_EQ(CreateSurfaceFromBitmap(headless, device, BitmapName{118}, -1, 5), nullptr);

  SpriteSheet missing(display, std::string("/nonexistent/background.bmp"));
  EXPECT_EQ(missing.surface(), nullptr);
  EXPECT_EQ(missing.width(), 0);
  EXPECT_EQ(missing.height(), 0);
}

INSTANTIATE_TEST_SUITE_P(TwoDepths, BitmapLoading, ::testing::Values(8, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bits"; });

}  // namespace
}  // namespace grazefall
