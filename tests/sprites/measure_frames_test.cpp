// Reading the frame grid from a sheet's own separator pixels.
#include <gtest/gtest.h>

#include "sprites/sprite.h"
#include "tests/sprites/sprite_fixture.h"

namespace grazefall {
namespace {

using platform::Rgb;
using testing::SheetLayout;

struct Grid {
  int32_t frameWidth, frameHeight, columns, rows;
  friend bool operator==(const Grid&, const Grid&) = default;
};

std::ostream& operator<<(std::ostream& out, const Grid& g) {
  return out << g.frameWidth << "x" << g.frameHeight << " in " << g.columns << "x" << g.rows;
}

class MeasureFrames : public SpriteFixture, public ::testing::TestWithParam<int32_t> {
 protected:
  void SetUp() override { ASSERT_TRUE(openDisplay(800, 600, GetParam())); }

  Grid measure(const platform::Picture& picture) {
    auto sheet = loadSheet(picture);
    Sprite sprite(display, sheet.get(), AnimationMode::Sequential, 1);
    return Grid{sprite.frameWidth(), sprite.frameHeight(), sprite.columns(), sprite.rows()};
  }
};

TEST_P(MeasureFrames, SingleFramesOfTheProgramsSizes) {
  const SheetLayout sizes[] = {{1, 1, 51, 36}, {1, 1, 132, 41}, {1, 1, 16, 11},
                               {1, 1, 27, 19}, {1, 1, 16, 24},  {1, 1, 9, 15}};
  for (const SheetLayout& layout : sizes) {
    EXPECT_EQ(measure(testing::DrawSheet(layout)),
              (Grid{layout.frameWidth, layout.frameHeight, 1, 1}));
  }
}

TEST_P(MeasureFrames, FourBySevenCowSheet) {
  const platform::Picture picture = testing::DrawSheet({4, 7, 227, 72});
  ASSERT_EQ(picture.width, 913);
  ASSERT_EQ(picture.height, 512);
  EXPECT_EQ(measure(picture), (Grid{227, 72, 4, 7}));
}

TEST_P(MeasureFrames, PixelsBeyondTheLastCompleteFrameAreIgnored) {
  // Up to one frame and its separator short of another frame on each side.
  EXPECT_EQ(measure(testing::DrawSheet({4, 7, 20, 10}, 20, 10)), (Grid{20, 10, 4, 7}));
  EXPECT_EQ(measure(testing::DrawSheet({3, 2, 9, 9}, 1, 5)), (Grid{9, 9, 3, 2}));
}

TEST_P(MeasureFrames, SeparatorAtOneTwoMeansZeroWidthFrames) {
  platform::Picture picture = testing::DrawSheet({2, 2, 12, 8});
  testing::PutPixel(picture, 1, 2, testing::kSheetSeparator);
  const Grid grid = measure(picture);
  EXPECT_EQ(grid.frameWidth, 0);
  EXPECT_EQ(grid.columns, picture.width - 1);
  // Column 1 meets the same pixel on its way down.
  EXPECT_EQ(grid.frameHeight, 1);
  EXPECT_EQ(grid.rows, (picture.height - 1) / 2);
}

TEST_P(MeasureFrames, WidthIsReadAlongRowTwoNotRowOne) {
  // A frame whose top line is drawn in the separator colour must not cut the
  // frame width short.
  platform::Picture picture = testing::DrawSheet({2, 1, 14, 9});
  for (int32_t x = 2; x <= 14; ++x) testing::PutPixel(picture, x, 1, testing::kSheetSeparator);
  EXPECT_EQ(measure(picture), (Grid{14, 9, 2, 1}));
}

TEST_P(MeasureFrames, PictureWithoutGridMeasuresToItsEdges) {
  const platform::Picture picture = testing::SolidPicture(40, 30, Rgb(30, 120, 30));
  // Every pixel has the reference colour: the scans stop at once.
  EXPECT_EQ(measure(picture), (Grid{0, 0, 39, 29}));

  platform::Picture banded = testing::SolidPicture(40, 30, Rgb(30, 120, 30));
  for (int32_t y = 0; y < 30; ++y) testing::PutPixel(banded, 0, y, Rgb(255, 255, 255));
  for (int32_t x = 0; x < 40; ++x) testing::PutPixel(banded, x, 0, Rgb(255, 255, 255));
  // No separator along row 2 or down column 1: the scans run to the edge.
  EXPECT_EQ(measure(banded), (Grid{39, 29, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, MeasureFrames, ::testing::Values(8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bits"; });

}  // namespace
}  // namespace grazefall
