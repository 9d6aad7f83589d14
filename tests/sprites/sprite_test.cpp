#include "sprites/sprite.h"

#include <gtest/gtest.h>

#include <utility>

#include "tests/sprites/sprite_fixture.h"

namespace grazefall {
namespace {

using platform::ColorRef;
using platform::Rgb;
using testing::FrameMarkColor;
using testing::SheetLayout;

class SpriteTest : public SpriteFixture, public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(openDisplay(640, 480, 32)); }

  // A sprite on a sheet of the layout that the test keeps alive.
  std::unique_ptr<Sprite> spriteOn(const SheetLayout& layout,
                                   AnimationMode mode = AnimationMode::Sequential) {
    sheets.push_back(loadSheet(layout));
    return std::make_unique<Sprite>(display, sheets.back().get(), mode, 1);
  }

  std::vector<std::unique_ptr<SpriteSheet>> sheets;
};

// --- Construction ---

TEST_F(SpriteTest, ResetCentresTheFrameDividingTermByTerm) {
  auto sprite = spriteOn({1, 1, 51, 37});
  // 640/2 - 51/2 = 295 (not (640 - 51)/2 = 294); 480/2 - 37/2 = 222.
  EXPECT_EQ(sprite->x(), 295);
  EXPECT_EQ(sprite->y(), 222);
  EXPECT_EQ(sprite->delay(), 3);
  EXPECT_EQ(sprite->speed(), 1);
  EXPECT_EQ(sprite->wrap(), 0);
  EXPECT_EQ(sprite->direction(), Direction::None);
  EXPECT_EQ(sprite->column(), 1);
  EXPECT_EQ(sprite->row(), 0);
  EXPECT_EQ(sprite->prevX(), 0);
  EXPECT_EQ(sprite->prevY(), 0);
  EXPECT_EQ(sprite->loopCount(), 0);
  EXPECT_EQ(sprite->sheetShared(), 1);
}

TEST_F(SpriteTest, SpriteFromAResourceOwnsAndMeasuresItsSheet) {
  headless.addResourcePicture(121, testing::DrawSheet({1, 1, 132, 41}));
  Sprite sprite(display, 121, AnimationMode::Sequential);
  ASSERT_NE(sprite.sheet(), nullptr);
  EXPECT_EQ(sprite.sheetShared(), 0);
  EXPECT_EQ(sprite.frameWidth(), 132);
  EXPECT_EQ(sprite.frameHeight(), 41);
  EXPECT_EQ(sprite.x(), 320 - 66);
}

TEST_F(SpriteTest, AttachSheetRemeasuresButKeepsPositionAndFrame) {
  auto sprite = spriteOn({4, 2, 10, 10});
  sprite->setPosition(7, 9);
  sprite->setSpeed(4);
  sprite->setDirection(Direction::Down);
  sprite->setDelay(0);
  sprite->advanceFrame();
  sprite->advanceFrame();
  sprite->advanceFrame();  // column 4, row 0: the last frame of row 0
  ASSERT_EQ(sprite->column(), 4);

  sheets.push_back(loadSheet({2, 3, 20, 6}));
  sprite->attachSheet(sheets.back().get(), 1);
  EXPECT_EQ(sprite->frameWidth(), 20);
  EXPECT_EQ(sprite->frameHeight(), 6);
  EXPECT_EQ(sprite->columns(), 2);
  EXPECT_EQ(sprite->rows(), 3);
  EXPECT_EQ(sprite->x(), 7);
  EXPECT_EQ(sprite->y(), 9);
  EXPECT_EQ(sprite->speed(), 4);
  EXPECT_EQ(sprite->direction(), Direction::Down);
  EXPECT_EQ(sprite->column(), 4);
  EXPECT_EQ(sprite->loopCount(), 0);
  // Taking the same sheet again does not destroy it.
  sprite->attachSheet(sheets.back().get(), 0);
  sprite->attachSheet(sheets.back().get(), 1);
  EXPECT_EQ(sprite->frameWidth(), 20);
}

// --- Sequential animation ---

TEST_F(SpriteTest, FourBySevenReachesTheLastFrameOnThe108thCall) {
  auto sprite = spriteOn({4, 7, 12, 8});
  for (int call = 1; call <= 3; ++call) sprite->advanceFrame();
  EXPECT_EQ(sprite->column(), 1);
  sprite->advanceFrame();  // 4th call: first frame change
  EXPECT_EQ(sprite->column(), 2);
  for (int call = 5; call <= 107; ++call) sprite->advanceFrame();
  EXPECT_EQ(sprite->loopCount(), 0);
  sprite->advanceFrame();
  EXPECT_EQ(sprite->column(), 4);
  EXPECT_EQ(sprite->row(), 6);
  EXPECT_EQ(sprite->loopCount(), 1);
  // Four calls later the animation starts again from the first frame.
  for (int call = 0; call < 4; ++call) sprite->advanceFrame();
  EXPECT_EQ(sprite->column(), 1);
  EXPECT_EQ(sprite->row(), 0);
  EXPECT_EQ(sprite->loopCount(), 1);
}

TEST_F(SpriteTest, LoopCountWrapsFromTenThousandToZero) {
  auto sprite = spriteOn({2, 1, 6, 6});
  sprite->setDelay(0);
  // Every odd call arrives on the last frame (column 2).
  for (int call = 1; call <= 19999; ++call) sprite->advanceFrame();
  EXPECT_EQ(sprite->loopCount(), 10000);
  sprite->advanceFrame();
  EXPECT_EQ(sprite->loopCount(), 10000);
  sprite->advanceFrame();
  EXPECT_EQ(sprite->loopCount(), 0);
  sprite->advanceFrame();
  sprite->advanceFrame();
  EXPECT_EQ(sprite->loopCount(), 1);
}

TEST_F(SpriteTest, SingleColumnSheetsOnlyChangeRowAndNeverCountLoops) {
  auto tall = spriteOn({1, 3, 8, 8});
  tall->setDelay(0);
  const int expectedRows[] = {1, 2, 0, 1};
  for (int expected : expectedRows) {
    tall->advanceFrame();
    EXPECT_EQ(tall->row(), expected);
    EXPECT_EQ(tall->column(), 1);
  }
  EXPECT_EQ(tall->loopCount(), 0);

  auto single = spriteOn({1, 1, 8, 8});
  single->setDelay(0);
  for (int call = 0; call < 10; ++call) single->advanceFrame();
  EXPECT_EQ(single->column(), 1);
  EXPECT_EQ(single->row(), 0);
  EXPECT_EQ(single->loopCount(), 0);
}

// --- Directional animation ---

TEST_F(SpriteTest, DirectionPicksTheColumnOnlyInDirectionalMode) {
  auto walker = spriteOn({8, 3, 8, 8}, AnimationMode::Directional);
  walker->setDirection(Direction::Left);
  EXPECT_EQ(walker->column(), 3);
  walker->setDirection(Direction::DownRight);
  EXPECT_EQ(walker->column(), 8);
  walker->setDirection(9);
  EXPECT_EQ(walker->direction(), Direction::None);
  EXPECT_EQ(walker->column(), 1);
  // Below the first direction, None included, is no direction: column 1.
  for (int32_t none : {-1, 0}) {
    walker->setDirection(Direction::Up);
    walker->setDirection(none);
    EXPECT_EQ(walker->direction(), Direction::None);
    EXPECT_EQ(walker->column(), 1) << none;
  }

  auto sequential = spriteOn({8, 3, 8, 8});
  sequential->setDirection(Direction::Down);
  EXPECT_EQ(sequential->direction(), Direction::Down);
  EXPECT_EQ(sequential->column(), 1);
  sequential->setDirection(42);
  EXPECT_EQ(sequential->direction(), Direction::None);
}

TEST_F(SpriteTest, WalkCycleSkipsTheStandingRowAndStandsWhenStill) {
  auto walker = spriteOn({8, 3, 8, 8}, AnimationMode::Directional);
  walker->setDelay(0);
  walker->setDirection(Direction::Right);
  const int walking[] = {1, 2, 1, 2};
  for (int expected : walking) {
    walker->move();
    walker->advanceFrame();
    EXPECT_EQ(walker->row(), expected);
  }
  // A move that leaves it in place shows the standing pose.
  walker->setDirection(Direction::None);
  walker->move();
  walker->advanceFrame();
  EXPECT_EQ(walker->row(), 0);

  // Placed with setPosition only, prevX/prevY stay behind and it keeps walking.
  walker->setPosition(10, 10);
  walker->advanceFrame();
  walker->advanceFrame();
  EXPECT_EQ(walker->row(), 2);
  EXPECT_NE(walker->prevX(), 10);

  auto oneRow = spriteOn({8, 1, 8, 8}, AnimationMode::Directional);
  oneRow->setDelay(0);
  oneRow->setDirection(Direction::Up);
  oneRow->move();
  oneRow->advanceFrame();
  EXPECT_EQ(oneRow->row(), 0);
}

TEST_F(SpriteTest, WalkCycleWaitsForTheDelay) {
  auto walker = spriteOn({8, 3, 8, 8}, AnimationMode::Directional);
  walker->setDirection(Direction::Down);
  for (int call = 0; call < 3; ++call) {
    walker->move();
    walker->advanceFrame();
    EXPECT_EQ(walker->row(), 0);
  }
  walker->move();
  walker->advanceFrame();
  EXPECT_EQ(walker->row(), 1);
}

// --- Movement ---

TEST_F(SpriteTest, MoveFollowsTheDirectionTableAtSpeedPerAxis) {
  struct Case {
    Direction direction;
    int32_t x, y;
  };
  const Case cases[] = {{Direction::None, 100, 100},     {Direction::Right, 103, 100},
                        {Direction::Up, 100, 97},        {Direction::Left, 97, 100},
                        {Direction::Down, 100, 103},     {Direction::UpRight, 103, 97},
                        {Direction::UpLeft, 97, 97},     {Direction::DownLeft, 97, 103},
                        {Direction::DownRight, 103, 103}};
  auto sprite = spriteOn({1, 1, 10, 10});
  sprite->setSpeed(3);
  for (const Case& c : cases) {
    sprite->setPosition(100, 100);
    sprite->setDirection(c.direction);
    sprite->move();
    EXPECT_EQ(sprite->x(), c.x) << static_cast<int>(c.direction);
    EXPECT_EQ(sprite->y(), c.y) << static_cast<int>(c.direction);
    EXPECT_EQ(sprite->prevX(), 100);
    EXPECT_EQ(sprite->prevY(), 100);
  }
  sprite->setSpeed(-2);  // backwards
  sprite->setDirection(Direction::DownRight);
  sprite->move();
  EXPECT_EQ(sprite->x(), 101);
  EXPECT_EQ(sprite->y(), 101);
}

TEST_F(SpriteTest, HorizontalWrapAtFrameWidthFiftyOnSixHundredForty) {
  auto sprite = spriteOn({1, 1, 50, 20});
  sprite->setSpeed(2);
  sprite->setWrap(1);

  sprite->setDirection(Direction::Left);
  sprite->setPosition(-49, 5);
  sprite->move();  // -51 <= -50
  EXPECT_EQ(sprite->x(), 639);
  sprite->setPosition(-48, 5);
  sprite->move();  // exactly -50 also wraps
  EXPECT_EQ(sprite->x(), 639);
  sprite->setPosition(-47, 5);
  sprite->move();
  EXPECT_EQ(sprite->x(), -49);

  sprite->setDirection(Direction::Right);
  sprite->setPosition(638, 5);
  sprite->move();  // reaches 640
  EXPECT_EQ(sprite->x(), -49);
  sprite->setPosition(637, 5);
  sprite->move();
  EXPECT_EQ(sprite->x(), 639);

  // y is never limited, and without wrap neither is x.
  sprite->setWrap(0);
  sprite->setDirection(Direction::UpLeft);
  sprite->setPosition(-49, -1000);
  sprite->move();
  EXPECT_EQ(sprite->x(), -51);
  EXPECT_EQ(sprite->y(), -1002);
}

// --- Drawing ---

class SpriteDrawing : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    target = display.backBuffer.get();
    ASSERT_NE(target, nullptr);
    target->fill(kBackgroundValue);
  }
  static constexpr uint32_t kBackgroundValue = 0x00336699u;  // 32-bit 0x00RRGGBB
  static constexpr ColorRef kBackground = Rgb(0x33, 0x66, 0x99);
  platform::Surface* target = nullptr;
};

TEST_F(SpriteDrawing, DrawsTheCurrentFrameKeyedWithinItsRectangle) {
  const SheetLayout layout{4, 2, 20, 14};
  auto sprite = spriteOn(layout);
  sprite->setDelay(0);
  sprite->advanceFrame();
  sprite->advanceFrame();
  sprite->advanceFrame();
  sprite->advanceFrame();  // frame (1, 1), index 4
  ASSERT_EQ(sprite->row(), 1);
  sprite->setPosition(100, 50);
  sprite->draw(*target);

  EXPECT_EQ(target->getPixel(100 + 10, 50 + 7), FrameMarkColor(4));
  // The frame's transparent corners leave the background.
  EXPECT_EQ(target->getPixel(100, 50), kBackground);
  EXPECT_EQ(target->getPixel(119, 63), kBackground);
  // Nothing outside the frame rectangle: no separator lines.
  for (int32_t y = 49; y <= 64; ++y) {
    EXPECT_EQ(target->getPixel(99, y), kBackground);
    EXPECT_EQ(target->getPixel(120, y), kBackground);
  }
  for (int32_t x = 99; x <= 120; ++x) {
    EXPECT_EQ(target->getPixel(x, 49), kBackground);
    EXPECT_EQ(target->getPixel(x, 64), kBackground);
  }
  // draw does not advance the animation.
  EXPECT_EQ(sprite->column(), 1);
  EXPECT_EQ(sprite->row(), 1);
}

TEST_F(SpriteDrawing, DrawAnimatedAdvancesBeforeDrawing) {
  const SheetLayout layout{3, 1, 10, 10};
  auto sprite = spriteOn(layout);
  sprite->setDelay(0);
  sprite->setPosition(10, 10);
  sprite->drawAnimated(*target);
  EXPECT_EQ(sprite->column(), 2);
  EXPECT_EQ(target->getPixel(15, 15), FrameMarkColor(1));
}

TEST_F(SpriteDrawing, PartlyOffScreenFramesShowTheirVisiblePart) {
  const SheetLayout layout{1, 1, 20, 14};
  auto sprite = spriteOn(layout);
  sprite->setPosition(-10, -7);  // the frame centre lands on (0, 0)
  sprite->draw(*target);
  EXPECT_EQ(target->getPixel(0, 0), FrameMarkColor(0));
  sprite->setPosition(630, 473);  // centre at (640, 480): off the screen
  sprite->draw(*target);
  EXPECT_EQ(target->getPixel(639, 479), FrameMarkColor(0));
  sprite->setPosition(5000, -5000);
  sprite->draw(*target);  // wholly off: nothing happens
}

// A 3 x 3 frame is a plus sign: its middle row and column are opaque. Placed
// so that only its last (or first) row or column is on the screen, that one
// line still shows; one pixel further out, nothing of it does.
TEST_F(SpriteDrawing, FramesOnePixelIntoTheScreenShowThatPixel) {
  auto sprite = spriteOn({1, 1, 3, 3});
  const int32_t w = target->width();
  const int32_t h = target->height();
  struct Case {
    int32_t x, y;    // sprite position
    int32_t px, py;  // the one screen pixel of its plus sign that shows
  };
  for (const Case& c : {Case{-2, 10, 0, 11}, Case{w - 1, 10, w - 1, 11}, Case{10, -2, 11, 0},
                        Case{10, h - 1, 11, h - 1}}) {
    SCOPED_TRACE(::testing::Message() << "at " << c.x << ", " << c.y);
    target->fill(kBackgroundValue);
    sprite->setPosition(c.x, c.y);
    sprite->draw(*target);
    EXPECT_NE(target->getPixel(c.px, c.py), kBackground);
  }
  target->fill(kBackgroundValue);
  for (const auto& [x, y] :
       {std::pair{-3, 10}, std::pair{w, 10}, std::pair{10, -3}, std::pair{10, h}}) {
    sprite->setPosition(x, y);
    sprite->draw(*target);
  }
  for (int32_t i = 0; i < 20; ++i) {
    EXPECT_EQ(target->getPixel(0, i), kBackground);
    EXPECT_EQ(target->getPixel(w - 1, i), kBackground);
    EXPECT_EQ(target->getPixel(i, 0), kBackground);
    EXPECT_EQ(target->getPixel(i, h - 1), kBackground);
  }
}

TEST_F(SpriteDrawing, SpriteWithoutPictureMovesAndAnimatesButDrawsNothing) {
  SpriteSheet missing(display, std::string("/nonexistent/cow.bmp"));
  Sprite sprite(display, &missing, AnimationMode::Sequential, 1);
  Sprite bare(display, nullptr, AnimationMode::Sequential, 1);
  for (Sprite* s : {&sprite, &bare}) {
    s->setDirection(Direction::Right);
    s->setPosition(0, 0);
    s->move();
    EXPECT_EQ(s->x(), 1);
    for (int call = 0; call < 8; ++call) s->drawAnimated(*target);
    s->draw(*target);
  }
  for (int32_t x = 0; x < 40; ++x) EXPECT_EQ(target->getPixel(x, 0), kBackground);
}

TEST_F(SpriteDrawing, DirectionalColumnBeyondTheSheetDrawsNothing) {
  auto walker = spriteOn({2, 2, 10, 10}, AnimationMode::Directional);
  walker->setDirection(Direction::DownRight);  // column 8 of a 2-column sheet
  walker->setPosition(0, 0);
  walker->draw(*target);
  for (int32_t x = 0; x < 12; ++x) EXPECT_EQ(target->getPixel(x, 5), kBackground);
}

}  // namespace
}  // namespace grazefall
