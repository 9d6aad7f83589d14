// Cutting DirectDraw blits to a surface: the Windows backend's one piece of
// arithmetic that needs no Windows to check.
#include "platform/win32/blit_clipping.h"

#include <gtest/gtest.h>

namespace grazefall::platform::win32 {
namespace {

const Rect kScreen{0, 0, 800, 600};

TEST(ClipBlit, LeavesABlitInsideTheBoundsAlone) {
  Rect destination{10, 20, 60, 56};
  Rect source{0, 0, 50, 36};
  ASSERT_TRUE(ClipBlit(&destination, &source, kScreen));
  EXPECT_EQ(destination, (Rect{10, 20, 60, 56}));
  EXPECT_EQ(source, (Rect{0, 0, 50, 36}));
}

TEST(ClipBlit, CutsEachEdgeAndTheSourceWithIt) {
  // A sprite hanging over the left and top edges shows its lower right part.
  Rect destination{-20, -10, 30, 26};
  Rect source{100, 0, 150, 36};
  ASSERT_TRUE(ClipBlit(&destination, &source, kScreen));
  EXPECT_EQ(destination, (Rect{0, 0, 30, 26}));
  EXPECT_EQ(source, (Rect{120, 10, 150, 36}));

  // Over the right and bottom edges: the upper left part.
  destination = {780, 590, 830, 626};
  source = {0, 0, 50, 36};
  ASSERT_TRUE(ClipBlit(&destination, &source, kScreen));
  EXPECT_EQ(destination, (Rect{780, 590, 800, 600}));
  EXPECT_EQ(source, (Rect{0, 0, 20, 10}));
}

TEST(ClipBlit, KeepsTheScaleOfAStretchedBlit) {
  // Twice the source size: cutting 40 destination pixels drops 20 source ones.
  Rect destination{-40, 0, 60, 50};
  Rect source{0, 0, 50, 25};
  ASSERT_TRUE(ClipBlit(&destination, &source, kScreen));
  EXPECT_EQ(destination, (Rect{0, 0, 60, 50}));
  EXPECT_EQ(source, (Rect{20, 0, 50, 25}));
}

TEST(ClipBlit, RefusesWhatIsEntirelyOutsideOrEmpty) {
  for (Rect destination : {Rect{-50, 0, 0, 36}, Rect{800, 0, 850, 36}, Rect{0, 600, 50, 636},
                           Rect{0, -36, 50, 0}, Rect{10, 10, 10, 40}, Rect{10, 40, 60, 10}}) {
    Rect source{0, 0, 50, 36};
    Rect kept = destination;
    EXPECT_FALSE(ClipBlit(&destination, &source, kScreen));
    EXPECT_EQ(destination, kept) << "a refused blit leaves its rectangles as they were";
  }
  Rect destination{0, 0, 50, 36};
  Rect emptySource{5, 5, 5, 20};
  EXPECT_FALSE(ClipBlit(&destination, &emptySource, kScreen));
}

TEST(ClipBlit, SurvivesCoordinatesNearTheEndsOfInt32) {
  // A wildly wrapped sprite position must not overflow the proportion.
  Rect destination{-2147483000, -2147483000, 2147483000, 2147483000};
  Rect source{0, 0, 50, 36};
  ASSERT_TRUE(ClipBlit(&destination, &source, kScreen));
  EXPECT_EQ(destination, kScreen);
  EXPECT_GE(source.left, 0);
  EXPECT_LE(source.right, 50);
  EXPECT_LT(source.left, source.right);
}

TEST(ClipBlit, SwappedRolesCutTheSourceToItsOwnSurface) {
  // The same cut keeps a source rectangle inside the picture it reads from,
  // shrinking the destination in proportion.
  Rect source{-10, 0, 40, 36};
  Rect destination{100, 100, 150, 136};
  ASSERT_TRUE(ClipBlit(&source, &destination, Rect{0, 0, 64, 36}));
  EXPECT_EQ(source, (Rect{0, 0, 40, 36}));
  EXPECT_EQ(destination, (Rect{110, 100, 150, 136}));
}

}  // namespace
}  // namespace grazefall::platform::win32
