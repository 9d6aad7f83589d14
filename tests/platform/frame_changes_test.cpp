// What two frames in a row are known to differ in: the tiles under both
// frames' drawing, or the whole frame when either frame's drawing is unknown.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/software/frame_changes.h"
#include "platform/software/software_surface.h"
#include "tests/support/rect_cover.h"

namespace grazefall::platform::software {
namespace {

using grazefall::testing::Covering;

TEST(TileCover, CoversEveryDrawnPixelOnceOnTheTileGridAndNoUntouchedTile) {
  const std::vector<Rect> first{
      {5, 5, 20, 9}, {100, 3, 101, 4}, {150, 60, 151, 61}, {250, 40, 262, 44}, {200, 80, 300, 81}};
  const std::vector<Rect> second{{18, 7, 40, 35}, {-10, 90, 3, 200}, {150, 150, 170, 170}};
  // 16-pixel tiles make 10 columns; 4-pixel ones 40, 41 (the last one 2
  // pixels wide) and 75, whose runs cross from one word of tile bits to the
  // next.
  for (const auto& [kTile, width] :
       {std::pair{16, 160}, std::pair{4, 160}, std::pair{4, 162}, std::pair{4, 300}}) {
    std::vector<uint64_t> scratch;
    const auto cover = TileCover(first, second, width, 100, kTile, scratch);
    for (int32_t y = 0; y < 100; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const int inside = Covering(cover, x, y);
        ASSERT_LE(inside, 1) << x << "," << y;
        const Rect tile{x / kTile * kTile, y / kTile * kTile, x / kTile * kTile + kTile,
                        y / kTile * kTile + kTile};
        bool touched = false;
        for (const auto* list : {&first, &second}) {
          for (const Rect& r : *list) {
            touched |= r.left < tile.right && r.right > tile.left && r.top < tile.bottom &&
                       r.bottom > tile.top && r.left < width && r.top < 100;
          }
        }
        ASSERT_EQ(inside, touched ? 1 : 0) << kTile << ": " << x << "," << y;
      }
    }
    for (const Rect& r : cover) {
      EXPECT_GE(r.left, 0);
      EXPECT_LE(r.right, width);
      EXPECT_LE(r.bottom, 100);
    }
    // A block of tiles spanning the same columns row after row is one rectangle.
    if (kTile == 16) {
      EXPECT_NE(std::find(cover.begin(), cover.end(), Rect{16, 16, 48, 48}), cover.end());
    } else {
      EXPECT_NE(std::find(cover.begin(), cover.end(), Rect{16, 12, 40, 36}), cover.end());
    }
  }
}

class Frames : public ::testing::Test {
 protected:
  // A frame cleared to `clear` with `drawn` drawn on it since.
  std::unique_ptr<SoftwareSurface> Frame(uint32_t clear, const std::vector<Rect>& drawn,
                                         int32_t width = 256, int32_t height = 192) {
    auto frame = SoftwareSurface::Create(width, height, 16);
    EXPECT_TRUE(frame);
    frame->fill(clear);
    auto ink = SoftwareSurface::Create(64, 64, 16);
    ink->fill(0xFFFF);
    for (const Rect& r : drawn) {
      frame->blit(r, *ink, Rect{0, 0, r.width(), r.height()}, false);
    }
    return frame;
  }
  FrameChanges changes;
};

TEST_F(Frames, TheFirstFrameAndAnyUnknownDrawingGoWhole) {
  EXPECT_FALSE(changes.next(*Frame(0, {{10, 10, 20, 20}})->pixels()));
  EXPECT_TRUE(changes.next(*Frame(0, {{10, 10, 20, 20}})->pixels()));
  auto written = Frame(0, {});
  written->markWritten();  // a write of unknown extent
  EXPECT_FALSE(changes.next(*written->pixels()));
  // The frame after an unknown one cannot be compared with it either.
  EXPECT_FALSE(changes.next(*Frame(0, {})->pixels()));
  EXPECT_TRUE(changes.next(*Frame(0, {})->pixels()));
  changes.forget();
  EXPECT_FALSE(changes.next(*Frame(0, {})->pixels()));
}

TEST_F(Frames, ChangesAreBothFramesDrawingRoundedToTiles) {
  changes.next(*Frame(0, {{10, 10, 20, 20}})->pixels());
  const auto changed = changes.next(*Frame(0, {{100, 40, 110, 50}})->pixels());
  ASSERT_TRUE(changed);
  EXPECT_EQ(*changed, (std::vector<Rect>{{8, 8, 24, 24}, {96, 40, 112, 56}}));
  // Nothing drawn in either frame: nothing to send.
  changes.next(*Frame(0, {})->pixels());
  const auto still = changes.next(*Frame(0, {})->pixels());
  ASSERT_TRUE(still);
  EXPECT_TRUE(still->empty());
}

TEST_F(Frames, AnotherClearingColourSizeOrMostOfTheFrameGoWhole) {
  changes.next(*Frame(0, {})->pixels());
  EXPECT_FALSE(changes.next(*Frame(0x001F, {})->pixels()));
  EXPECT_FALSE(changes.next(*Frame(0x001F, {}, 128, 96)->pixels()));
  EXPECT_TRUE(changes.next(*Frame(0x001F, {}, 128, 96)->pixels()));
  // Over half of the frame's tiles.
  EXPECT_FALSE(changes.next(*Frame(0x001F, {{0, 0, 64, 64}, {64, 0, 128, 40}}, 128, 96)->pixels()));
  // The next frame still differs from that one over most of the frame.
  EXPECT_FALSE(changes.next(*Frame(0x001F, {{0, 0, 64, 32}}, 128, 96)->pixels()));
  EXPECT_TRUE(changes.next(*Frame(0x001F, {{0, 0, 64, 32}}, 128, 96)->pixels()));
}

TEST_F(Frames, OnlyChangesOverHalfTheFrameGoWhole) {
  // 122 x 96, whose last column of tiles is 2 pixels wide: half of it is
  // 5856 pixels, the top 48 rows, here drawn overlapping.
  const std::vector<Rect> half = {{0, 0, 64, 48}, {58, 0, 122, 48}};
  changes.next(*Frame(0, {}, 122, 96)->pixels());
  const auto changed = changes.next(*Frame(0, half, 122, 96)->pixels());
  ASSERT_TRUE(changed);
  EXPECT_EQ(*changed, (std::vector<Rect>{{0, 0, 122, 48}}));
  // One tile more.
  EXPECT_FALSE(changes.next(
      *Frame(0, {{0, 0, 64, 48}, {58, 0, 122, 48}, {0, 48, 1, 49}}, 122, 96)->pixels()));
}

}  // namespace
}  // namespace grazefall::platform::software
