#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <set>
#include <vector>

#include "scene/scene.h"
#include "tests/support/scene_rig.h"

namespace grazefall {
namespace {

using testing::SceneRig;
using testing::SpritesOf;

class HerdMotion : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.opened);
    rig.loadScene();
    rig.options.windPower = 0;
    rig.options.explodeCows = 0;
    rig.options.heading = kHeadingDown;
  }
  void frame() {
    SceneContext context = rig.context();
    UpdateHerd(context, gust, rig.scene.herd.get());
  }
  SceneRig rig;
  Gust gust;
};

TEST_F(HerdMotion, ConstantWindBlowsBackToBackGustsOf31Frames) {
  rig.options.windPower = 3;
  rig.options.constantWind = 1;
  rig.options.windDirection = 2;
  Sprite& cow = rig.addCow(400, 300);
  std::vector<int32_t> activeFrames;
  int32_t run = 0;
  for (int frame = 0; frame < 93; ++frame) {
    const int32_t yBefore = cow.y();
    const bool calmBefore = gust.active == 0;
    this->frame();
    // Pushed 3 up by the gust, 2 down by its own step: one pixel up a frame.
    EXPECT_EQ(cow.y(), yBefore - 1) << "frame " << frame;
    EXPECT_EQ(gust.direction, static_cast<int32_t>(Direction::Up));
    if (calmBefore && frame > 0) {
      activeFrames.push_back(run);
      run = 0;
    }
    ++run;
  }
  activeFrames.push_back(run);
  EXPECT_EQ(activeFrames, (std::vector<int32_t>{31, 31, 31}));
}

TEST_F(HerdMotion, NoWindPowerNoGustWhateverTheOtherWindOptions) {
  rig.options.windPower = 0;
  rig.options.constantWind = 1;
  rig.options.windDirection = 1;
  Sprite& cow = rig.addCow(400, 0);
  for (int frame = 0; frame < 200; ++frame) {
    const int32_t xBefore = cow.x();
    const int32_t yBefore = cow.y();
    this->frame();
    EXPECT_EQ(gust.active, 0);
    EXPECT_EQ(std::abs(cow.x() - xBefore), yBefore < 240 ? 2 : 3);
    EXPECT_GT(cow.y(), yBefore);
  }
}

TEST_F(HerdMotion, RandomWindsBlowExactlyTheirOwnSetOfDirections) {
  auto directionsBlown = [this](int32_t windDirection) {
    gust = Gust{};
    rig.options.windPower = 1;
    rig.options.constantWind = 1;
    rig.options.windDirection = windDirection;
    std::set<int32_t> seen;
    for (int frame = 0; frame < 12 * 60; ++frame) {
      this->frame();
      seen.insert(gust.direction);
    }
    return seen;
  };
  // "R-Left": the three leftward directions.
  EXPECT_EQ(directionsBlown(-3), (std::set<int32_t>{static_cast<int32_t>(Direction::Left),
                                                    static_cast<int32_t>(Direction::UpLeft),
                                                    static_cast<int32_t>(Direction::DownLeft)}));
  // "Random": every one of the eight directions, and nothing else.
  EXPECT_EQ(directionsBlown(0), (std::set<int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(HerdMotion, CowsFallFasterInTheLowerThreeFifths) {
  // (600 / 5) * 2 = 240 is the first row of the fast band.
  Sprite& slow = rig.addCow(100, 239);
  Sprite& fast = rig.addCow(300, 240);
  frame();
  EXPECT_EQ(slow.y(), 241);
  EXPECT_EQ(std::abs(slow.x() - 100), 2);
  EXPECT_EQ(fast.y(), 243);
  EXPECT_EQ(std::abs(fast.x() - 300), 3);
}

TEST_F(HerdMotion, PositiveFallSpeedAddsNegativeOnlySlowsTheFrameRate) {
  Sprite& slow = rig.addCow(100, 0);
  Sprite& fast = rig.addCow(300, 300);
  rig.options.fallSpeed = 2;
  frame();
  EXPECT_EQ(slow.y(), 4);
  EXPECT_EQ(fast.y(), 305);
  rig.options.fallSpeed = -3;
  frame();
  EXPECT_EQ(slow.y(), 6);
  EXPECT_EQ(fast.y(), 308);
}

TEST_F(HerdMotion, HeadingsZigZagAcrossTheirOwnAxis) {
  struct Case {
    int32_t heading;
    int32_t dxSign;  // 0: either way
    int32_t dySign;
  };
  for (const Case& c : {Case{kHeadingLeft, -1, 0}, Case{kHeadingRight, 1, 0},
                        Case{kHeadingUp, 0, -1}, Case{kHeadingDown, 0, 1}}) {
    rig.options.heading = c.heading;
    Sprite& cow = rig.addCow(400, 100);
    std::set<int32_t> otherAxis;
    for (int frame = 0; frame < 40; ++frame) {
      const int32_t x = cow.x();
      const int32_t y = cow.y();
      this->frame();
      const int32_t dx = cow.x() - x;
      const int32_t dy = cow.y() - y;
      ASSERT_EQ(std::abs(dx), std::abs(dy)) << "heading " << c.heading;
      if (c.dxSign != 0) {
        EXPECT_EQ(dx * c.dxSign, std::abs(dx));
      }
      if (c.dySign != 0) {
        EXPECT_EQ(dy * c.dySign, std::abs(dy));
      }
      otherAxis.insert(c.dxSign != 0 ? (dy > 0) : (dx > 0));
      cow.setPosition(400, 100);
    }
    EXPECT_EQ(otherAxis.size(), 2u) << "both diagonals occur, heading " << c.heading;
    rig.scene.herd = std::make_unique<SpriteList>();
  }
}

TEST_F(HerdMotion, ExplodingCowsBecomeExplosionsWhereTheyStood) {
  rig.options.explodeCows = 1;
  std::set<std::pair<int32_t, int32_t>> starts;
  for (int i = 0; i < 4000; ++i) {
    rig.addCow(i, 300);
    starts.insert({i - 38, 300 - 18});
  }
  frame();
  const auto blasts = SpritesOf(*rig.scene.explosions);
  ASSERT_FALSE(blasts.empty());
  EXPECT_EQ(rig.scene.herd->size() + rig.scene.explosions->size(), 4000);
  for (Sprite* blast : blasts) {
    EXPECT_EQ(starts.count({blast->x(), blast->y()}), 1u);
    EXPECT_EQ(blast->delay(), 0);
    EXPECT_EQ(blast->frameWidth(), 227);
  }
  // The cows left over all moved once: none stands at its start row.
  for (Sprite* cow : SpritesOf(*rig.scene.herd)) EXPECT_NE(cow->y(), 300);
}

TEST_F(HerdMotion, TheOnlyCowExplodingEmptiesTheHerd) {
  rig.options.explodeCows = 1;
  rig.addCow(400, 300);
  int frames = 0;
  while (rig.scene.herd->size() == 1 && frames < 100000) {
    frame();
    ++frames;
  }
  EXPECT_EQ(rig.scene.herd->size(), 0);
  EXPECT_EQ(rig.scene.herd->head(), nullptr);
  EXPECT_EQ(rig.scene.explosions->size(), 1);
  frame();  // an empty herd is walked without trouble
  EXPECT_EQ(rig.scene.herd->size(), 0);
}

TEST_F(HerdMotion, AbsurdWindAndFallSpeedAreHeldToTheSettingsRange) {
  rig.options.windPower = INT_MAX;
  rig.options.constantWind = 1;
  rig.options.windDirection = 4;
  rig.options.fallSpeed = INT_MAX;
  Sprite& cow = rig.addCow(400, 100);
  frame();
  EXPECT_EQ(gust.framesLeft, 10 * 10 - 1);
  EXPECT_EQ(cow.speed(), 2 + 5);
  EXPECT_EQ(cow.y(), 100 + 10 + 7);

  rig.options.windPower = INT_MIN;
  rig.options.fallSpeed = INT_MIN;
  gust = Gust{};
  frame();
  EXPECT_EQ(gust.active, 0);
  EXPECT_EQ(cow.speed(), 2);
}

}  // namespace
}  // namespace grazefall
