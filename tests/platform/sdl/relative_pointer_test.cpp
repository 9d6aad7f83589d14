// The pointer position built from motion inside the saver's windows, where
// the compositor tells no global position.
#include "platform/sdl/relative_pointer.h"

#include <gtest/gtest.h>

namespace grazefall::platform::sdl {
namespace {

TEST(RelativePointer, WhereThePointerEntersIsNoMove) {
  RelativePointer pointer;
  EXPECT_FALSE(pointer.moveTo(1, 640, 360));
  EXPECT_EQ(pointer.position(), (Point{0, 0}));
  // Reported again at the same place: still no move.
  EXPECT_FALSE(pointer.moveTo(1, 640, 360));
}

TEST(RelativePointer, SumsTheMotionFromTheEntry) {
  RelativePointer pointer;
  pointer.moveTo(1, 100, 100);
  EXPECT_TRUE(pointer.moveTo(1, 101, 100));
  EXPECT_TRUE(pointer.moveTo(1, 100, 100));
  EXPECT_TRUE(pointer.moveTo(1, 100, 103));
  EXPECT_EQ(pointer.position(), (Point{0, 3}));
  EXPECT_TRUE(pointer.moveTo(1, 90, 98));
  EXPECT_EQ(pointer.position(), (Point{-10, -2}));
}

TEST(RelativePointer, AnotherWindowOrANewEntryStartsFromWhereItComesIn) {
  RelativePointer pointer;
  pointer.moveTo(1, 10, 10);
  pointer.moveTo(1, 12, 10);
  // The window on the next output has coordinates of its own.
  EXPECT_FALSE(pointer.moveTo(2, 900, 500));
  EXPECT_TRUE(pointer.moveTo(2, 901, 500));
  EXPECT_EQ(pointer.position(), (Point{3, 0}));
  // Left and came back elsewhere in the same window.
  pointer.enter();
  EXPECT_FALSE(pointer.moveTo(2, 5, 5));
  EXPECT_EQ(pointer.position(), (Point{3, 0}));
}

}  // namespace
}  // namespace grazefall::platform::sdl
