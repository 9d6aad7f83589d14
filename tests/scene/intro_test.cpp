#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/scene.h"
#include "tests/support/scene_rig.h"

namespace grazefall {
namespace {

using testing::RecordingSurface;
using testing::SceneRig;

struct IntroFrame {
  IntroStage stageBefore;
  IntroPhase result;
  int32_t x;
  int32_t y;
  std::vector<RecordingSurface::Text> texts;
  std::vector<RecordingSurface::Blit> beamBlits;
  std::vector<RecordingSurface::Blit> saucerBlits;
};

class Intro : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.opened);
    rig.loadScene();
  }
  IntroFrame step() {
    rig.backBuffer->forget();
    IntroFrame frame{intro.introStage, IntroPhase::HoldsTheScreen, 0, 0, {}, {}, {}};
    SceneContext context = rig.context();
    frame.result = PlayIntroStep(context, intro);
    frame.x = rig.scene.ufo->x();
    frame.y = rig.scene.ufo->y();
    frame.texts = rig.backBuffer->texts;
    for (const auto& blit : rig.backBuffer->blits) {
      if (blit.from == rig.scene.beamPicture->surface()) frame.beamBlits.push_back(blit);
      if (blit.from == rig.scene.ufo->sheet()->surface()) frame.saucerBlits.push_back(blit);
    }
    return frame;
  }
  // Runs the whole intro on an 800 x 600 screen, up to the frame that ends it.
  std::vector<IntroFrame> playThrough() {
    std::vector<IntroFrame> frames;
    do {
      frames.push_back(step());
    } while (frames.back().result != IntroPhase::Over && frames.size() < 5000);
    return frames;
  }
  static int32_t CountStage(const std::vector<IntroFrame>& frames, IntroStage stage) {
    int32_t count = 0;
    for (const IntroFrame& frame : frames) count += frame.stageBefore == stage ? 1 : 0;
    return count;
  }
  SceneRig rig;
  IntroState intro;
};

TEST_F(Intro, StagesLastTheirFramesOnAnEightHundredWideScreen) {
  const std::vector<IntroFrame> frames = playThrough();
  ASSERT_EQ(frames.back().result, IntroPhase::Over);
  EXPECT_EQ(frames[0].x, -142 + 3);
  EXPECT_EQ(frames[0].y, -51 + 1);
  // From just outside the corner (the frame is 132 x 41) it slides 3 right
  // and 1 down a frame; x reaches 2W/3 = 533 on frame 225, and frame 226
  // finds both axes home.
  EXPECT_EQ(CountStage(frames, IntroStage::FlyIn), 226);
  EXPECT_EQ(frames[223].x, 530);
  EXPECT_EQ(frames[224].x, 533);
  EXPECT_EQ(frames[225].y, 150);
  EXPECT_EQ(CountStage(frames, IntroStage::LowerBeam), 320);
  EXPECT_EQ(CountStage(frames, IntroStage::Speak), 163);
  EXPECT_EQ(CountStage(frames, IntroStage::FlyAway), 54);
  for (size_t i = 0; i < frames.size(); ++i) {
    const IntroPhase expected =
        frames[i].stageBefore != IntroStage::FlyAway
            ? IntroPhase::HoldsTheScreen
            : (i + 1 < frames.size() ? IntroPhase::HerdRunsToo : IntroPhase::Over);
    EXPECT_EQ(frames[i].result, expected) << "frame " << i + 1;
  }
  // Every frame of every stage draws the saucer where it now is (checked
  // where it is wholly on the screen, so no clipping moves the corner).
  for (size_t i = 0; i < frames.size(); ++i) {
    const IntroFrame& frame = frames[i];
    if (frame.x < 0 || frame.y < 0 || frame.x + 132 > 800 || frame.y + 41 > 600) continue;
    ASSERT_EQ(frame.saucerBlits.size(), 1u) << "frame " << i + 1;
    EXPECT_EQ(frame.saucerBlits[0].destination.left, frame.x) << "frame " << i + 1;
    EXPECT_EQ(frame.saucerBlits[0].destination.top, frame.y) << "frame " << i + 1;
  }
  // Flying off at (+5, -4) a frame from (533, 150): 803 is past the edge.
  EXPECT_EQ(frames.back().x, 803);
  EXPECT_EQ(frames.back().y, 150 - 4 * 54);
}

TEST_F(Intro, BeamGrowsAPixelAFrameUnderTheSaucerThenStaysFull) {
  const std::vector<IntroFrame> frames = playThrough();
  int32_t expectedHeight = 0;
  int32_t fullFrames = 0;
  for (const IntroFrame& frame : frames) {
    if (frame.stageBefore == IntroStage::FlyIn) {
      EXPECT_TRUE(frame.beamBlits.empty());
      continue;
    }
    if (frame.stageBefore == IntroStage::FlyAway) {
      EXPECT_TRUE(frame.beamBlits.empty()) << "the beam is gone once the saucer leaves";
      continue;
    }
    ASSERT_EQ(frame.beamBlits.size(), 1u);
    const auto& blit = frame.beamBlits[0];
    EXPECT_TRUE(blit.keyed);
    EXPECT_EQ(blit.destination.left, 533);
    EXPECT_EQ(blit.destination.top, 150 + 33);
    if (frame.stageBefore == IntroStage::LowerBeam) {
      if (expectedHeight < 263) ++expectedHeight;
      EXPECT_EQ(blit.source, (platform::Rect{0, 0, 135, expectedHeight}));
      if (expectedHeight == 263) ++fullFrames;
    } else {
      EXPECT_EQ(blit.source, (platform::Rect{0, 0, 135, 263}));
    }
  }
  // 263 frames of growth, the last of which is already full, then 57 more.
  EXPECT_EQ(fullFrames, 1 + 57);
}

TEST_F(Intro, SpeechBlocksComeOnTheirTicksBesideTheSaucer) {
  const std::vector<IntroFrame> frames = playThrough();
  using Lines = std::vector<std::string>;
  const Lines arrival = {"they are here,", "they are hostile,", "they roam"};
  const Lines demand = {"they need our green grass,", "they'll stop at nothing"};
  const Lines warning = {"Cows Walk Among Us,", "Be Afraid"};
  int32_t tick = 0;
  int32_t farewell = 0;
  for (const IntroFrame& frame : frames) {
    Lines lines;
    for (size_t n = 0; n < frame.texts.size(); ++n) {
      const auto& text = frame.texts[n];
      lines.push_back(text.text);
      // Lines stand 150 left of the saucer's (533, 150), 50 below, 11 apart.
      EXPECT_EQ(text.x, 383);
      EXPECT_EQ(text.y, 200 + 11 * static_cast<int32_t>(n));
      EXPECT_EQ(text.color, platform::Rgb(255, 255, 255));
      EXPECT_FALSE(text.transparent);
    }
    if (frame.stageBefore == IntroStage::Speak) {
      ++tick;
      const Lines& expected = tick <= 79 ? arrival : tick <= 159 ? demand : warning;
      EXPECT_EQ(lines, expected) << "speech tick " << tick;
    } else if (frame.stageBefore == IntroStage::FlyAway) {
      ++farewell;
      EXPECT_EQ(lines, farewell <= 59 ? warning : Lines{}) << "farewell tick " << farewell;
    } else {
      EXPECT_TRUE(lines.empty());
    }
  }
  EXPECT_EQ(tick, 163);
}

TEST_F(Intro, NarrowDisplaysStillBringTheSaucerIn) {
  for (int32_t width : {4, 3, 1, 0}) {
    rig.display.width = width;
    intro = IntroState{};
    int frames = 0;
    while (intro.introStage == IntroStage::FlyIn && frames < 1000) {
      step();
      ++frames;
    }
    EXPECT_EQ(intro.introStage, IntroStage::LowerBeam) << "width " << width;
    EXPECT_GE(rig.scene.ufo->x(), (2 * width) / 3);
  }
}

TEST_F(Intro, WithoutASaucerTheIntroIsOver) {
  rig.scene.ufo.reset();
  SceneContext context = rig.context();
  EXPECT_EQ(PlayIntroStep(context, intro), IntroPhase::Over);
}

}  // namespace
}  // namespace grazefall
