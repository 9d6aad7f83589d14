#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <vector>

#include "scene/scene.h"
#include "tests/support/scene_rig.h"

namespace grazefall {
namespace {

using testing::FrameMarkColor;
using testing::SceneRig;
using testing::SpritesOf;

class Effects : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.opened);
    rig.loadScene();
  }
  Sprite& addBlast(int32_t x, int32_t y) {
    rig.scene.explosions->append(
        new Sprite(rig.display, rig.scene.explosionSheet.get(), AnimationMode::Sequential, 1));
    Sprite& blast = *rig.scene.explosions->lastSprite();
    blast.setDelay(0);
    blast.setPosition(x, y);
    return blast;
  }
  Sprite& addDrop(int32_t x, int32_t y, int32_t speed) {
    rig.scene.tears->append(
        new Sprite(rig.display, rig.scene.bigTearSheet.get(), AnimationMode::Sequential, 1));
    Sprite& drop = *rig.scene.tears->lastSprite();
    drop.setPosition(x, y);
    drop.setDirection(Direction::Down);
    drop.setSpeed(speed);
    drop.setWrap(1);
    return drop;
  }
  void explosionsFrame() {
    SceneContext context = rig.context();
    UpdateExplosions(context, rig.scene.explosions.get());
  }
  void tearsFrame() {
    SceneContext context = rig.context();
    UpdateTears(context, rig.scene.tears.get());
  }
  SceneRig rig;
};

TEST_F(Effects, ExplosionShowsFrames2To28ThenGivesTheHerdAFreshCow) {
  rig.options.cowSize = kCowMedium;
  rig.options.wrapCows = 1;
  addBlast(100, 200);
  const int32_t centreX = 100 + 227 / 2;
  const int32_t centreY = 200 + 72 / 2;
  for (int shown = 1; shown <= 27; ++shown) {
    rig.display.backBuffer->fill(0);
    explosionsFrame();
    ASSERT_EQ(rig.scene.explosions->size(), 1) << "frame " << shown;
    EXPECT_EQ(rig.display.backBuffer->getPixel(centreX, centreY), FrameMarkColor(shown))
        << "frame " << shown;
  }
  EXPECT_EQ(rig.scene.herd->size(), 0);

  rig.display.backBuffer->fill(0);
  explosionsFrame();
  EXPECT_EQ(rig.scene.explosions->size(), 0);
  EXPECT_EQ(rig.display.backBuffer->getPixel(centreX, centreY), 0u) << "not drawn again";
  ASSERT_EQ(rig.scene.herd->size(), 1);
  const Sprite& cow = *rig.scene.herd->lastSprite();
  EXPECT_EQ(cow.frameWidth(), 27) << "cowSize 2 always gives a medium cow";
  EXPECT_GE(cow.y(), -1500);
  EXPECT_LE(cow.y(), -149);
  EXPECT_GE(cow.x(), 0);
  EXPECT_LE(cow.x(), 800);
  EXPECT_EQ(cow.direction(), Direction::Down);
  EXPECT_EQ(cow.wrap(), 1);
}

TEST_F(Effects, FinishedExplosionsAreRemovedWithoutSkippingTheNext) {
  Sprite& first = addBlast(0, 0);
  addBlast(300, 0);
  for (int i = 0; i < 27; ++i) explosionsFrame();
  Sprite& late = addBlast(500, 0);
  ASSERT_EQ(first.loopCount(), 1);
  explosionsFrame();  // removes both finished blasts, still steps the late one
  EXPECT_EQ(SpritesOf(*rig.scene.explosions), std::vector<Sprite*>{&late});
  EXPECT_EQ(late.column(), 2);
  EXPECT_EQ(rig.scene.herd->size(), 2);
}

TEST_F(Effects, RandomSizeReplacementsDrawTheirOwnSize) {
  rig.options.cowSize = kCowRandom;
  for (int i = 0; i < 60; ++i) {
    Sprite& blast = addBlast(0, 0);
    while (blast.loopCount() == 0) blast.advanceFrame();
  }
  explosionsFrame();
  std::set<int32_t> widths;
  for (Sprite* cow : SpritesOf(*rig.scene.herd)) widths.insert(cow->frameWidth());
  EXPECT_EQ(widths, (std::set<int32_t>{16, 27, 51}));
}

TEST_F(Effects, DropSpeedBands) {
  // 600 high: b2 = 200, b3 = 300.
  Sprite& slowTop = addDrop(10, 0, 1);
  Sprite& fastAtBand = addDrop(40, 200, 3);
  Sprite& fastInBand = addDrop(70, 201, 3);
  Sprite& fastBandEnd = addDrop(190, 299, 3);
  Sprite& fastPastBand = addDrop(220, 300, 3);
  Sprite& fastBelow = addDrop(100, 601, 4);
  Sprite& slowBelow = addDrop(130, 601, 2);
  Sprite& fastAbove = addDrop(160, 0, 3);
  tearsFrame();
  EXPECT_EQ(slowTop.speed(), 2);
  EXPECT_EQ(slowTop.y(), 2);
  EXPECT_EQ(fastAtBand.speed(), 3) << "the band is strict";
  EXPECT_EQ(fastInBand.speed(), 4);
  EXPECT_EQ(fastInBand.y(), 205);
  EXPECT_EQ(fastBandEnd.speed(), 4);
  EXPECT_EQ(fastPastBand.speed(), 3) << "the band ends before b3";
  EXPECT_EQ(fastBelow.speed(), 3);
  EXPECT_EQ(slowBelow.speed(), 1);
  EXPECT_EQ(fastAbove.speed(), 3);
}

TEST_F(Effects, DropsStartAgainAboveTheScreenOnlyOncePastTenBelow) {
  Sprite& edge = addDrop(50, 610, 1);
  Sprite& past = addDrop(50, 611, 1);
  tearsFrame();
  EXPECT_EQ(edge.y(), 611);
  EXPECT_EQ(edge.x(), 50);
  // Re-placed to -150..-49, then one step at the upper band's speed 2.
  EXPECT_GE(past.y(), -150 + 2);
  EXPECT_LE(past.y(), -49 + 2);
  EXPECT_GE(past.x(), -10);
  EXPECT_LE(past.x(), 810);
  EXPECT_EQ(past.speed(), 2);
}

}  // namespace
}  // namespace grazefall
