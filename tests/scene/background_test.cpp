// The background picture drawn first in every frame.
#include <gtest/gtest.h>

#include <memory>

#include "scene/scene.h"
#include "tests/support/scene_rig.h"

namespace grazefall {
namespace {

using testing::SceneRig;

constexpr int32_t kOddPictureId = 9001;

class Background : public ::testing::Test {
 protected:
  // An odd-sized picture, so that rounding each half on its own shows.
  void SetUp() override {
    ASSERT_TRUE(rig.opened);
    rig.platform.addResourcePicture(kOddPictureId,
                                    testing::SolidPicture(41, 31, testing::kBackgroundColor));
    rig.scene.background = std::make_unique<SpriteSheet>(rig.display, kOddPictureId);
    rig.backBuffer->forget();
  }
  void draw() {
    SceneContext context = rig.context();
    DrawBackground(context);
  }
  SceneRig rig;
};

TEST_F(Background, CentredTermByTermAtItsOwnSize) {
  rig.options.backgroundMode = 1;
  draw();
  ASSERT_EQ(rig.backBuffer->blits.size(), 1u);
  const auto& blit = rig.backBuffer->blits[0];
  // 800/2 - 41/2 = 380 (not (800 - 41)/2 = 379); 600/2 - 31/2 = 285.
  EXPECT_EQ(blit.destination, (platform::Rect{380, 285, 380 + 41, 285 + 31}));
  EXPECT_EQ(blit.source, (platform::Rect{0, 0, 41, 31}));
  EXPECT_EQ(blit.from, rig.scene.background->surface());
  EXPECT_FALSE(blit.keyed);
}

TEST_F(Background, ModeTwoStretchesOverTheWholeScreen) {
  rig.options.backgroundMode = 2;
  draw();
  ASSERT_EQ(rig.backBuffer->blits.size(), 1u);
  const auto& blit = rig.backBuffer->blits[0];
  EXPECT_EQ(blit.destination, (platform::Rect{0, 0, 800, 600}));
  EXPECT_EQ(blit.source, (platform::Rect{0, 0, 41, 31}));
  EXPECT_FALSE(blit.keyed);
}

TEST_F(Background, NoPictureDrawsNothing) {
  rig.scene.background.reset();
  for (int32_t mode : {0, 1, 2}) {
    rig.options.backgroundMode = mode;
    draw();
    EXPECT_TRUE(rig.backBuffer->blits.empty()) << "backgroundMode " << mode;
  }
}

}  // namespace
}  // namespace grazefall
