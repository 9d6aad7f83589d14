#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/headless/headless_platform.h"
#include "saver/animation.h"
#include "saver/animation_state.h"
#include "tests/support/scene_rig.h"

namespace grazefall {
namespace {

class AnimationLifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::RegisterScenePictures(platform);
    platform.setTimeSeconds(4242);
    options = classicPreset;
    options.conspiracyMessages = 0;
  }
  Animation& make() {
    animation = NewAnimation(platform, options);
    return *animation;
  }
  platform::HeadlessPlatform platform;
  ScenarioOptions options{};
  std::unique_ptr<Animation> animation;
};

TEST_F(AnimationLifecycle, FailedStartsAreRetriedFromTheBeginning) {
  Animation& a = make();
  platform.failDisplayCreations(1);
  EXPECT_FALSE(StartAnimation(a, 1));
  platform.failInputCreations(1);
  EXPECT_FALSE(StartAnimation(a, 1));
  EXPECT_TRUE(StartAnimation(a, 1));
  EXPECT_EQ(a.scene.herd->size(), 10);
  EXPECT_EQ(a.display.width, 800);
  EXPECT_EQ(a.display.height, 600);
}

TEST_F(AnimationLifecycle, RefusedDisplayModeFailsTheStart) {
  options.screenWidth = 1234;
  options.screenHeight = 567;
  platform.setOfferedModes({{800, 600, 16}});
  EXPECT_FALSE(StartAnimation(make(), 1));
  EXPECT_EQ(platform.presentedFrames(), 0);
}

TEST_F(AnimationLifecycle, TheSeedIsTheTimeSoTheSameSecondReplaysTheHerd) {
  options.invertedPyramid = 0;
  auto second = NewAnimation(platform, options);
  auto third = NewAnimation(platform, options);
  ASSERT_TRUE(StartAnimation(*second, 1));
  platform.setTimeSeconds(4243);
  ASSERT_TRUE(StartAnimation(*third, 1));
  std::string a, b;
  for (auto* node = second->scene.herd->head(); node; node = node->next)
    a += std::to_string(node->sprite->x()) + "," + std::to_string(node->sprite->y()) + ";";
  for (auto* node = third->scene.herd->head(); node; node = node->next)
    b += std::to_string(node->sprite->x()) + "," + std::to_string(node->sprite->y()) + ";";
  EXPECT_NE(a, b);
  auto again = NewAnimation(platform, options);
  platform.setTimeSeconds(4242);
  ASSERT_TRUE(StartAnimation(*again, 1));
  std::string c;
  for (auto* node = again->scene.herd->head(); node; node = node->next)
    c += std::to_string(node->sprite->x()) + "," + std::to_string(node->sprite->y()) + ";";
  EXPECT_EQ(a, c);
}

TEST_F(AnimationLifecycle, CursorIsHiddenThreeTimesAndShownOnceAtTheEnd) {
  Animation& a = make();
  ASSERT_TRUE(StartAnimation(a, 1));
  EXPECT_EQ(platform.cursorCount(), -3);
  RunFrame(a);
  EndAnimation(a);
  EXPECT_EQ(platform.cursorCount(), -2);
  EXPECT_EQ(a.scene.herd, nullptr);
  EXPECT_EQ(a.scene.tinyCowSheet, nullptr);
  EXPECT_EQ(a.display.backBuffer, nullptr);
  EXPECT_EQ(a.display.primary, nullptr);
}

TEST_F(AnimationLifecycle, FallSpeedChoosesThePauseAfterThePresent) {
  struct Case {
    int32_t fallSpeed;
    uint64_t sleepMs;
  };
  for (const Case& c : {Case{-5, 100}, Case{-4, 50}, Case{-3, 25}, Case{-2, 10}, Case{-1, 5},
                        Case{0, 0}, Case{3, 0}, Case{-6, 0}, Case{INT32_MIN, 0}}) {
    options.fallSpeed = c.fallSpeed;
    Animation& a = make();
    ASSERT_TRUE(StartAnimation(a, 1));
    const uint64_t before = platform.totalSleptMs();
    const int64_t framesBefore = platform.presentedFrames();
    EXPECT_EQ(RunFrame(a), c.sleepMs) << "fallSpeed " << c.fallSpeed;
    EXPECT_EQ(platform.presentedFrames() - framesBefore, 1);
    EXPECT_EQ(RunFrame(a), c.sleepMs) << "fallSpeed " << c.fallSpeed;
    EXPECT_EQ(platform.presentedFrames() - framesBefore, 2);
    EXPECT_EQ(platform.totalSleptMs(), before) << "the caller sleeps, not the frame";
  }
}

TEST_F(AnimationLifecycle, IntroHoldsTheScreenUntilTheSaucerLeaves) {
  Animation& a = make();
  ASSERT_TRUE(StartAnimation(a, 1));
  const int32_t apexY = a.scene.herd->head()->sprite->y();
  int32_t frames = 0;
  while (a.currentIntroPhase != IntroPhase::HerdRunsToo && frames < 2000) {
    RunFrame(a);
    ++frames;
    if (a.currentIntroPhase == IntroPhase::HoldsTheScreen) {
      ASSERT_EQ(a.scene.herd->head()->sprite->y(), apexY) << "frame " << frames;
    }
  }
  // 226 frames in, 320 of beam, 163 of speech; the saucer leaves on 710.
  EXPECT_EQ(frames, 226 + 320 + 163 + 1);
  EXPECT_NE(a.scene.herd->head()->sprite->y(), apexY) << "the herd runs in that same frame";
  while (a.currentIntroPhase == IntroPhase::HerdRunsToo && frames < 2000) {
    RunFrame(a);
    ++frames;
  }
  EXPECT_EQ(a.currentIntroPhase, IntroPhase::Over);
  EXPECT_EQ(frames, 710 + 53);
  const IntroState intro = a.intro;
  RunFrame(a);
  EXPECT_EQ(a.intro.introTicks, intro.introTicks) << "no intro step once it is over";
}

TEST_F(AnimationLifecycle, WithoutTheIntroTheHerdRunsFromTheFirstFrame) {
  options.introPhase = 2;
  Animation& a = make();
  ASSERT_TRUE(StartAnimation(a, 1));
  const int32_t apexY = a.scene.herd->head()->sprite->y();
  const int32_t ufoX = a.scene.ufo->x();
  RunFrame(a);
  EXPECT_GT(a.scene.herd->head()->sprite->y(), apexY);
  EXPECT_EQ(a.scene.ufo->x(), ufoX);
  EXPECT_EQ(a.intro.introStage, IntroStage::FlyIn);
}

TEST_F(AnimationLifecycle, StretchedBackgroundFillsTheScreen) {
  const std::string path = ::testing::TempDir() + "/lifecycle-background.bmp";
  ASSERT_TRUE(testing::WriteBmp24(path, testing::SolidPicture(40, 30, platform::Rgb(255, 0, 0))));
  options.backgroundMode = 2;
  std::snprintf(options.backgroundPath, sizeof options.backgroundPath, "%s", path.c_str());
  options.introPhase = 2;
  Animation& a = make();
  ASSERT_TRUE(StartAnimation(a, 1));
  RunFrame(a);
  const platform::Picture frame = platform.lastPresentedFrame();
  EXPECT_EQ(frame.at(0, 599), platform::Rgb(255, 0, 0));
  EXPECT_EQ(frame.at(799, 599), platform::Rgb(255, 0, 0));
}

}  // namespace
}  // namespace grazefall
