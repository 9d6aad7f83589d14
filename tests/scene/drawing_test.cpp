#include "scene/drawing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "platform/headless/headless_platform.h"
#include "runtime/display.h"
#include "sprites/sprite_sheet.h"
#include "sprites/text_font.h"
#include "tests/support/test_sheets.h"

namespace grazefall {
namespace {

using platform::ColorRef;
using platform::Rgb;

constexpr ColorRef kKey = Rgb(255, 0, 255);
constexpr ColorRef kInk = Rgb(255, 255, 0);
constexpr ColorRef kBackground = Rgb(0x33, 0x66, 0x99);
constexpr uint32_t kBackgroundValue = 0x00336699u;  // the same colour at 32 bits

class Drawing : public ::testing::Test {
 protected:
  void SetUp() override {
    display.width = 320;
    display.height = 200;
    display.bitDepth = 32;
    headless.setOfferedModes({platform::DisplayMode{320, 200, 32}});
    ASSERT_TRUE(OpenDisplay(display, headless, 1));
    target = display.backBuffer.get();
    ASSERT_NE(target, nullptr);
    FillSurface(target, kBackgroundValue);

    // A 6 x 4 picture: key colour in its top-left pixel and left column,
    // ink elsewhere, one marker pixel at (4, 2).
    platform::Picture picture = testing::SolidPicture(6, 4, kInk);
    for (int32_t y = 0; y < 4; ++y) testing::PutPixel(picture, 0, y, kKey);
    testing::PutPixel(picture, 4, 2, Rgb(0, 255, 0));
    headless.addResourcePicture(9100, picture);
    sheet = std::make_unique<SpriteSheet>(display, 9100);
    ASSERT_NE(sheet->surface(), nullptr);
  }

  // How many pixels of the target differ from the background.
  int32_t changedPixels() const {
    int32_t changed = 0;
    for (int32_t y = 0; y < target->height(); ++y) {
      for (int32_t x = 0; x < target->width(); ++x)
        changed += target->getPixel(x, y) != kBackground;
    }
    return changed;
  }

  platform::HeadlessPlatform headless;
  Display display;
  platform::Surface* target = nullptr;
  std::unique_ptr<SpriteSheet> sheet;
};

TEST_F(Drawing, FillWritesThePixelValueEverywhere) {
  EXPECT_EQ(FillSurface(target, 0x00FF0000u), 0);
  EXPECT_EQ(target->getPixel(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(target->getPixel(319, 199), Rgb(255, 0, 0));
  EXPECT_EQ(FillSurface(nullptr, 0), 0);
}

TEST_F(Drawing, BlitPictureKeyedSkipsTheTransparentColour) {
  BlitPicture(sheet.get(), target, 10, 20, 1);
  EXPECT_EQ(target->getPixel(10, 20), kBackground);  // key column skipped
  EXPECT_EQ(target->getPixel(11, 20), kInk);
  EXPECT_EQ(target->getPixel(14, 22), Rgb(0, 255, 0));
  EXPECT_EQ(changedPixels(), 5 * 4);

  BlitPicture(sheet.get(), target, 100, 20, 0);  // unkeyed copies every pixel
  EXPECT_EQ(target->getPixel(100, 20), kKey);
  EXPECT_EQ(changedPixels(), 5 * 4 + 6 * 4);
}

TEST_F(Drawing, BlitPictureOffTheEdgeDrawsTheVisiblePart) {
  BlitPicture(sheet.get(), target, -3, -1, 0);
  EXPECT_EQ(target->getPixel(0, 0), kInk);
  EXPECT_EQ(target->getPixel(1, 1), Rgb(0, 255, 0));
  EXPECT_EQ(changedPixels(), 3 * 3);
  BlitPicture(sheet.get(), target, 317, 198, 0);
  EXPECT_EQ(target->getPixel(317, 198), kKey);
  EXPECT_EQ(changedPixels(), 3 * 3 + 3 * 2);
  BlitPicture(sheet.get(), target, INT32_MAX - 2, INT32_MIN, 0);  // far away, no overflow
  EXPECT_EQ(changedPixels(), 3 * 3 + 3 * 2);
}

TEST_F(Drawing, BlitPictureRectCopiesExactlyThatRectangle) {
  BlitPictureRect(sheet.get(), target, 3, 1, 2, 2, 50, 60, 1);
  EXPECT_EQ(target->getPixel(50, 60), kInk);
  EXPECT_EQ(target->getPixel(51, 61), Rgb(0, 255, 0));
  EXPECT_EQ(changedPixels(), 4);
  // A source rectangle reaching outside the picture is refused whole.
  BlitPictureRect(sheet.get(), target, 4, 0, 5, 4, 80, 60, 0);
  BlitPictureRect(sheet.get(), target, -1, 0, 2, 2, 80, 60, 0);
  EXPECT_EQ(changedPixels(), 4);
}

TEST_F(Drawing, StretchPictureNeedsBothSizesZeroForItsOwnSize) {
  StretchPicture(sheet.get(), target, 10, 10, 0, 5, 0);
  StretchPicture(sheet.get(), target, 10, 10, 5, 0, 0);
  EXPECT_EQ(changedPixels(), 0);

  StretchPicture(sheet.get(), target, 10, 10, 0, 0, 0);
  EXPECT_EQ(changedPixels(), 6 * 4);
  EXPECT_EQ(target->getPixel(14, 12), Rgb(0, 255, 0));
}

TEST_F(Drawing, StretchPictureScalesOverTheWholeScreen) {
  StretchPicture(sheet.get(), target, 0, 0, 320, 200, 1);
  // Each source pixel covers 320/6 x 50 target pixels; the key column stays.
  EXPECT_EQ(target->getPixel(10, 100), kBackground);
  EXPECT_EQ(target->getPixel(100, 10), kInk);
  EXPECT_EQ(target->getPixel(4 * 320 / 6 + 20, 2 * 50 + 25), Rgb(0, 255, 0));
  EXPECT_EQ(target->getPixel(319, 199), kInk);
}

TEST_F(Drawing, MissingPicturesAndTargetsDrawNothing) {
  SpriteSheet missing(display, std::string("/nonexistent/flash.bmp"));
  EXPECT_EQ(BlitPicture(&missing, target, 0, 0, 1), 0);
  EXPECT_EQ(BlitPictureRect(&missing, target, 0, 0, 4, 4, 0, 0, 1), 0);
  EXPECT_EQ(StretchPicture(&missing, target, 0, 0, 320, 200, 1), 0);
  EXPECT_EQ(BlitPicture(nullptr, target, 0, 0, 1), 0);
  EXPECT_EQ(BlitPicture(sheet.get(), nullptr, 0, 0, 1), 0);
  EXPECT_EQ(DrawTextOnSurface(nullptr, "moo", 0, 0, nullptr, kInk, 0), 0);
  EXPECT_EQ(changedPixels(), 0);
}

TEST_F(Drawing, TextIsOpaqueOnBlackOrTransparent) {
  TextFont font(headless, "Lucida Console", 10, 100);
  EXPECT_EQ(DrawTextOnSurface(target, "", 5, 5, font.handle(), kInk, 0), 0);
  EXPECT_EQ(changedPixels(), 0);

  DrawTextOnSurface(target, "Moo", 5, 5, font.handle(), kInk, 1);
  const int32_t transparentChanged = changedPixels();
  EXPECT_GT(transparentChanged, 0);
  bool inkSeen = false;
  bool blackSeen = false;
  for (int32_t y = 0; y < 40; ++y) {
    for (int32_t x = 0; x < 60; ++x) {
      inkSeen |= target->getPixel(x, y) == kInk;
      blackSeen |= target->getPixel(x, y) == Rgb(0, 0, 0);
    }
  }
  EXPECT_TRUE(inkSeen);
  EXPECT_FALSE(blackSeen);

  FillSurface(target, kBackgroundValue);
  DrawTextOnSurface(target, "Moo", 5, 5, font.handle(), kInk, 0);
  EXPECT_GT(changedPixels(), transparentChanged);  // the black box as well
  EXPECT_EQ(target->getPixel(0, 0), kBackground);

  // The text ends at its first NUL.
  FillSurface(target, kBackgroundValue);
  DrawTextOnSurface(target, std::string_view("\0Moo", 4), 5, 5, font.handle(), kInk, 0);
  EXPECT_EQ(changedPixels(), 0);
}

}  // namespace
}  // namespace grazefall
