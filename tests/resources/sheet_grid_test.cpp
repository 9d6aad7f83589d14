// The sprite sheets measure to the frame grids the scene relies on, on every
// display depth, and their transparent colour stays apart from every frame
// colour once converted to the display's pixels.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "platform/headless/headless_platform.h"
#include "platform/software/pixel_format.h"
#include "runtime/display.h"
#include "sprites/sprite.h"
#include "sprites/sprite_sheet.h"

namespace grazefall {
namespace {

struct Grid {
  int32_t id;
  int32_t columns;
  int32_t rows;
  int32_t frameWidth;
  int32_t frameHeight;
};

const Grid kSheets[] = {
    {114, 1, 1, 16, 11}, {123, 1, 1, 27, 19}, {118, 1, 1, 51, 36},  {121, 1, 1, 132, 41},
    {175, 1, 1, 16, 24}, {176, 1, 1, 9, 15},  {170, 4, 7, 227, 72},
};

class SheetGrid : public ::testing::TestWithParam<int32_t> {
 protected:
  void SetUp() override {
    const int32_t depth = GetParam();
    headless.setCurrentMode({800, 600, depth});
    headless.setOfferedModes({platform::DisplayMode{800, 600, depth}});
    display.width = 800;
    display.height = 600;
    display.bitDepth = depth;
    ASSERT_TRUE(OpenDisplay(display, headless, 1));
  }

  platform::HeadlessPlatform headless;
  Display display;
};

TEST_P(SheetGrid, SpritesMeasureTheFrameGridOfEachSheet) {
  for (const Grid& grid : kSheets) {
    SCOPED_TRACE(grid.id);
    Sprite sprite(display, grid.id, AnimationMode::Sequential);
    ASSERT_NE(sprite.sheet(), nullptr);
    ASSERT_NE(sprite.sheet()->surface(), nullptr);
    EXPECT_EQ(sprite.columns(), grid.columns);
    EXPECT_EQ(sprite.rows(), grid.rows);
    EXPECT_EQ(sprite.frameWidth(), grid.frameWidth);
    EXPECT_EQ(sprite.frameHeight(), grid.frameHeight);
  }
}

TEST_P(SheetGrid, TheExplosionPlaysThroughAllItsFramesOnce) {
  Sprite explosion(display, 170, AnimationMode::Sequential);
  explosion.setDelay(0);
  int32_t calls = 0;
  while (explosion.loopCount() == 0 && calls < 100) {
    explosion.advanceFrame();
    ++calls;
  }
  EXPECT_EQ(calls, 27);
  EXPECT_EQ(explosion.column(), 4);
  EXPECT_EQ(explosion.row(), 6);
}

INSTANTIATE_TEST_SUITE_P(DisplayDepths, SheetGrid, ::testing::Values(8, 16, 32));

// The pixel value a colour takes in a 15-bit (555) mode, which some displays
// offer for 16 bits.
uint32_t Encode555(platform::ColorRef c) {
  return ((platform::RedOf(c) >> 3u) << 10u) | ((platform::GreenOf(c) >> 3u) << 5u) |
         (platform::BlueOf(c) >> 3u);
}

TEST(SheetColours, KeyAndSeparatorNeverCollideWithAFrameColourOnAnyDepth) {
  platform::HeadlessPlatform headless;
  for (const Grid& grid : kSheets) {
    SCOPED_TRACE(grid.id);
    const auto picture = headless.loadResourcePicture(grid.id);
    ASSERT_TRUE(picture.has_value());
    const platform::ColorRef key = picture->at(0, 0);
    const platform::ColorRef separator = picture->at(1, 0);
    ASSERT_NE(key, separator);
    EXPECT_EQ(picture->at(0, 1), separator);
    std::set<platform::ColorRef> frameColours;
    for (int32_t r = 0; r < grid.rows; ++r) {
      for (int32_t c = 0; c < grid.columns; ++c) {
        const int32_t left = (grid.frameWidth + 1) * c + 1;
        const int32_t top = (grid.frameHeight + 1) * r + 1;
        // Each frame is ringed by separator lines.
        EXPECT_EQ(picture->at(left - 1, top), separator);
        EXPECT_EQ(picture->at(left + grid.frameWidth, top), separator);
        EXPECT_EQ(picture->at(left, top + grid.frameHeight), separator);
        for (int32_t y = top; y < top + grid.frameHeight; ++y) {
          for (int32_t x = left; x < left + grid.frameWidth; ++x) {
            frameColours.insert(picture->at(x, y));
          }
        }
      }
    }
    frameColours.erase(key);
    ASSERT_FALSE(frameColours.empty());
    for (platform::ColorRef colour : frameColours) {
      for (int32_t depth : {8, 16}) {
        using platform::software::EncodeColor;
        EXPECT_NE(EncodeColor(colour, depth), EncodeColor(key, depth))
            << std::hex << colour << " turns transparent at " << std::dec << depth << " bits";
        EXPECT_NE(EncodeColor(colour, depth), EncodeColor(separator, depth))
            << std::hex << colour << " reads as a separator at " << std::dec << depth << " bits";
      }
      EXPECT_NE(Encode555(colour), Encode555(key)) << std::hex << colour;
    }
  }
}

TEST(SheetColours, KeyedFullPicturesHaveTheirKeyAroundTheSubject) {
  // The beam, the two flash pictures and the Invasion backdrop are drawn whole
  // with their top-left colour as the key: their corners must be that colour,
  // and the subject must not be.
  platform::HeadlessPlatform headless;
  for (int32_t id : {120, 115, 124, 163}) {
    SCOPED_TRACE(id);
    const auto picture = headless.loadResourcePicture(id);
    ASSERT_TRUE(picture.has_value());
    const platform::ColorRef key = picture->at(0, 0);
    const int32_t w = picture->width;
    const int32_t h = picture->height;
    EXPECT_EQ(picture->at(w - 1, 0), key);
    EXPECT_NE(picture->at(w / 2, h / 2), key);
    int64_t subject = 0;
    for (platform::ColorRef c : picture->pixels) subject += c != key ? 1 : 0;
    EXPECT_GT(subject, static_cast<int64_t>(w) * h / 5);
  }
}

}  // namespace
}  // namespace grazefall
