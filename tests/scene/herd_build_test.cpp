#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "saver/animation.h"
#include "saver/animation_state.h"
#include "scene/scene.h"
#include "tests/support/scene_rig.h"

namespace grazefall {
namespace {

using testing::SpritesOf;

// A started animation on the headless platform with the scene's pictures.
class HerdBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::RegisterScenePictures(platform);
    platform.setTimeSeconds(777);
  }
  bool start(const ScenarioOptions& preset) {
    options = preset;
    animation = NewAnimation(platform, options);
    return StartAnimation(*animation, 1);
  }
  const SpriteList& herd() const { return *animation->scene.herd; }

  platform::HeadlessPlatform platform;
  ScenarioOptions options{};
  std::unique_ptr<Animation> animation;
};

TEST_F(HerdBuild, ClassicBuildsWithoutPresentingAFrameAndStandsAsAPyramid) {
  ASSERT_TRUE(start(classicPreset));
  EXPECT_EQ(platform.presentedFrames(), 0);
  const std::vector<Sprite*> cows = SpritesOf(herd());
  ASSERT_EQ(cows.size(), 10u);
  // Rows of 1, 2, 3 and 4 large cows (51 x 36), spaced 102 x 72, apex first,
  // odd rows centred on x = 400 and even rows half a spacing to the left.
  const std::vector<std::pair<int32_t, int32_t>> expected = {
      {400, -72},  {298, -144}, {400, -144}, {298, -216}, {400, -216},
      {502, -216}, {196, -288}, {298, -288}, {400, -288}, {502, -288}};
  for (size_t i = 0; i < cows.size(); ++i) {
    EXPECT_EQ(cows[i]->x(), expected[i].first) << "cow " << i;
    EXPECT_EQ(cows[i]->y(), expected[i].second) << "cow " << i;
    EXPECT_EQ(cows[i]->direction(), Direction::Down);
    EXPECT_EQ(cows[i]->frameWidth(), 51);
  }
  EXPECT_EQ(animation->scene.tears->size(), 0);
  EXPECT_EQ(animation->scene.background, nullptr);
}

TEST_F(HerdBuild, PyramidWaitsBeyondTheEdgeTheHerdHeadsFor) {
  ScenarioOptions preset = classicPreset;
  preset.herdSize = 3;
  struct Case {
    int32_t heading;
    std::vector<std::pair<int32_t, int32_t>> places;
  };
  const std::vector<Case> cases = {
      {kHeadingUp, {{400, 600 + 72 + 50}, {298, 600 + 144 + 50}, {400, 600 + 144 + 50}}},
      {kHeadingLeft, {{800 + 102 + 50, 300}, {800 + 204 + 50, 228}, {800 + 204 + 50, 300}}},
      {kHeadingRight, {{-(102 + 50), 300}, {-(204 + 50), 228}, {-(204 + 50), 300}}},
  };
  for (const Case& c : cases) {
    preset.heading = c.heading;
    ASSERT_TRUE(start(preset));
    const std::vector<Sprite*> cows = SpritesOf(herd());
    ASSERT_EQ(cows.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(std::make_pair(cows[i]->x(), cows[i]->y()), c.places[i])
          << "heading " << c.heading << " cow " << i;
    }
    EndAnimation(*animation);
  }
}

TEST_F(HerdBuild, ScatteredHerdStartsAboveTheScreen) {
  ScenarioOptions preset = classicPreset;
  preset.invertedPyramid = 0;
  preset.herdSize = 40;
  preset.cowSize = kCowRandom;
  ASSERT_TRUE(start(preset));
  const std::vector<Sprite*> cows = SpritesOf(herd());
  ASSERT_EQ(cows.size(), 40u);
  EXPECT_GE(cows[0]->y(), -60);
  EXPECT_LE(cows[0]->y(), -50);
  EXPECT_GE(cows[0]->x(), 266);
  EXPECT_LE(cows[0]->x(), 533);
  std::set<int32_t> widths;
  for (size_t i = 1; i < cows.size(); ++i) {
    EXPECT_GE(cows[i]->y(), -1500);
    EXPECT_LE(cows[i]->y(), -149);
    EXPECT_GE(cows[i]->x(), 0);
    EXPECT_LE(cows[i]->x(), 800);
    widths.insert(cows[i]->frameWidth());
  }
  EXPECT_EQ(widths, (std::set<int32_t>{16, 27, 51}));
}

TEST_F(HerdBuild, BigHerdShowsTheLoadingCowEveryTenthCowThenWalksItAway) {
  ScenarioOptions preset = classicPreset;
  preset.invertedPyramid = 0;
  preset.herdSize = 60;
  // The herd's size when each frame is presented: the loading cow steps
  // before cows 0, 10 ... 50 are made, then walks off with the herd whole.
  std::vector<int32_t> herdSizes;
  platform.setFrameObserver(
      [&](const platform::Surface&, int64_t) { herdSizes.push_back(herd().size()); });
  ASSERT_TRUE(start(preset));
  ASSERT_GT(herdSizes.size(), 6u);
  EXPECT_EQ(std::vector<int32_t>(herdSizes.begin(), herdSizes.begin() + 6),
            (std::vector<int32_t>{0, 10, 20, 30, 40, 50}));
  // It then stands at x = -51 + 18, partly on the screen, and walks off.
  EXPECT_LT(herdSizes.size(), 6u + 5000u);
  for (size_t i = 6; i < herdSizes.size(); ++i) EXPECT_EQ(herdSizes[i], 60) << "frame " << i;
  EXPECT_EQ(static_cast<int64_t>(herdSizes.size()), platform.presentedFrames());
}

TEST_F(HerdBuild, ALoadingCowWalkingOffIsInterruptedEveryTenthStep) {
  // 1500 cows bring the loading cow to mid-screen (150 steps of 3), so its
  // walk off lasts well beyond ten steps; Escape pressed on the first step
  // is seen on the tenth.
  ScenarioOptions preset = classicPreset;
  preset.invertedPyramid = 0;
  preset.herdSize = 1500;
  int32_t walkFrames = 0;
  platform.setFrameObserver([&](const platform::Surface&, int64_t) {
    if (herd().size() < 1500) return;
    if (++walkFrames == 1) platform.setKeyDown(platform::kScanEscape, true);
  });
  EXPECT_FALSE(start(preset));
  EXPECT_EQ(walkFrames, 10);
}

TEST_F(HerdBuild, EndingTheAnimationLetsGoOfTheWholeScene) {
  ScenarioOptions preset = halloweenPreset;
  preset.herdSize = 20;
  ASSERT_TRUE(start(preset));
  EndAnimation(*animation);
  const Scene& scene = animation->scene;
  EXPECT_EQ(scene.messageFont, nullptr);
  EXPECT_EQ(scene.herd, nullptr);
  EXPECT_EQ(scene.explosions, nullptr);
  EXPECT_EQ(scene.tears, nullptr);
  EXPECT_EQ(scene.ufo, nullptr);
  EXPECT_EQ(scene.tinyCowSheet, nullptr);
  EXPECT_EQ(scene.largeCowSheet, nullptr);
  EXPECT_EQ(scene.explosionSheet, nullptr);
  EXPECT_EQ(scene.bigTearSheet, nullptr);
}

TEST(LoadingCow, ComesBackAtTheLeftEdgeOnlyOncePastTheRightOne) {
  // 300 wide, a multiple of the 3-pixel step from -51: the cow stands exactly
  // on the right edge after 117 steps, takes one more step right, and only
  // then starts again from the left.
  testing::SceneRig rig({300, 200, 32});
  ASSERT_TRUE(rig.opened);
  rig.options.invertedPyramid = 0;
  rig.options.herdSize = 1200;
  std::vector<int32_t> drawnAt;  // per presented frame; kUnseen when culled
  constexpr int32_t kUnseen = INT32_MIN;
  size_t blitsSeen = 0;
  rig.platform.setFrameObserver([&](const platform::Surface&, int64_t) {
    const auto& blits = rig.backBuffer->blits;
    drawnAt.push_back(blits.size() > blitsSeen ? blits.back().destination.left : kUnseen);
    blitsSeen = blits.size();
  });
  SceneContext context = rig.context();
  ASSERT_TRUE(BuildHerd(context, rig.input));
  std::vector<int32_t> expected;
  for (int32_t step = 0, x = -51; step < 120; ++step) {
    if (x > 300) x = -51;
    x += 3;
    expected.push_back(x < 300 && x + 51 > 0 ? x : kUnseen);
  }
  ASSERT_GE(drawnAt.size(), 120u);
  EXPECT_EQ(std::vector<int32_t>(drawnAt.begin(), drawnAt.begin() + 120), expected);
  EXPECT_EQ(expected[115], 297);
  EXPECT_EQ(expected[116], kUnseen);
  EXPECT_EQ(expected[117], kUnseen);
  EXPECT_EQ(expected[118], -48);
}

TEST_F(HerdBuild, HalloweenBlowsTheLoadingCowUpOver108Frames) {
  std::vector<int32_t> dropsMade;
  platform.setFrameObserver([&](const platform::Surface&, int64_t) {
    dropsMade.push_back(animation->scene.tears->size());
  });
  ASSERT_TRUE(start(halloweenPreset));
  // 20 loading steps for 200 cows, 200 for the 2000 drops, 108 of explosion.
  EXPECT_EQ(platform.presentedFrames(), 20 + 200 + 108);
  // The drop steps come before drops 0, 10 ... 1990 are made.
  ASSERT_EQ(dropsMade.size(), 20u + 200u + 108u);
  for (size_t i = 0; i < 200; ++i) {
    EXPECT_EQ(dropsMade[20 + i], static_cast<int32_t>(10 * i)) << "drop step " << i;
  }
  EXPECT_EQ(herd().size(), 200);
  EXPECT_EQ(animation->scene.tears->size(), 2000);
}

TEST_F(HerdBuild, EscapeDuringALongBuildStopsItWithinTenCows) {
  int64_t seen = 0;
  platform.setFrameObserver([&](const platform::Surface&, int64_t) {
    if (++seen == 3) platform.setKeyDown(platform::kScanEscape, true);
  });
  EXPECT_FALSE(start(customPreset));
  // The third loading frame comes at cow 20; the poll after that cow stops.
  EXPECT_EQ(herd().size(), 21);
}

TEST_F(HerdBuild, HerdSizesTheSettingsCannotWriteAreBounded) {
  ScenarioOptions preset = classicPreset;
  preset.invertedPyramid = 0;
  for (int32_t size : {0, -5, INT_MIN}) {
    preset.herdSize = size;
    ASSERT_TRUE(start(preset));
    EXPECT_EQ(herd().size(), 1) << "herdSize " << size;
    EndAnimation(*animation);
  }
  preset.herdSize = INT_MAX;
  ASSERT_TRUE(start(preset));
  EXPECT_EQ(herd().size(), 10000);
}

TEST_F(HerdBuild, InvasionGetsItsOwnBackgroundCentred) {
  ASSERT_TRUE(start(invasionPreset));
  ASSERT_NE(animation->scene.background, nullptr);
  EXPECT_EQ(animation->scene.background->width(), 238);
  RunFrame(*animation);
  const platform::Picture frame = platform.lastPresentedFrame();
  // 800/2 - 238/2 = 281, 600/2 - 184/2 = 208.
  EXPECT_EQ(frame.at(281, 208), testing::kBackgroundColor);
  EXPECT_EQ(frame.at(280, 208), 0u);
  EXPECT_EQ(frame.at(281, 207), 0u);
  EXPECT_EQ(frame.at(281 + 237, 208 + 183), testing::kBackgroundColor);
  EXPECT_EQ(frame.at(281 + 238, 208 + 183), 0u);
}

}  // namespace
}  // namespace grazefall
