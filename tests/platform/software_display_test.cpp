// The software flipping chain: what each flip presents, where drawing goes
// afterwards, and that copies made from either surface follow the flips.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/software/pixel_format.h"
#include "platform/software/software_display.h"
#include "platform/software/software_surface.h"

namespace grazefall::platform::software {
namespace {

constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kGreen = Rgb(0, 255, 0);

// A display of one fixed mode that keeps a picture of every presented frame
// and the pixels it was handed.
class RecordingDisplay final : public SoftwareDisplayDevice {
 public:
  explicit RecordingDisplay(DisplayMode mode) : mode_(mode) {}

  bool listModes(std::vector<DisplayMode>* modes) override {
    *modes = {mode_};
    return true;
  }

  std::vector<Picture> frames;
  std::shared_ptr<SurfacePixels> lastPresented;
  // How many of the next presents fail (nothing is shown for those).
  int32_t presentsToRefuse = 0;
  // Whether each frame is copied when presented, as an X server does.
  bool copiesFrames = false;

 protected:
  bool systemMode(DisplayMode* mode) override {
    *mode = mode_;
    return true;
  }
  int32_t present(const SoftwareSurface& primary) override {
    if (presentsToRefuse > 0) {
      --presentsToRefuse;
      return kEFail;
    }
    frames.push_back(primary.toPicture());
    lastPresented = primary.pixels();
    return kOk;
  }
  bool doneWithFrameOnPresent(const SoftwareSurface& /*primary*/) const override {
    return copiesFrames;
  }

 private:
  DisplayMode mode_;
};

struct Chain {
  explicit Chain(int32_t depth, bool copiesFrames = false) : display({6, 4, depth}) {
    display.copiesFrames = copiesFrames;
    primary = display.createPrimary();
    back = display.backBufferOf(*primary);
  }
  RecordingDisplay display;
  std::unique_ptr<Surface> primary;
  std::unique_ptr<Surface> back;
};

class FlipInEveryDepth : public ::testing::TestWithParam<int32_t> {};
INSTANTIATE_TEST_SUITE_P(Chains, FlipInEveryDepth, ::testing::Values(8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bits"; });

TEST_P(FlipInEveryDepth, EachFlipPresentsWhatTheBackBufferHeld) {
  Chain chain(GetParam());
  ASSERT_TRUE(chain.primary && chain.back);

  chain.back->setPixel(1, 1, kRed);
  ASSERT_EQ(chain.display.flip(*chain.primary), kOk);
  EXPECT_EQ(chain.primary->getPixel(1, 1), kRed);

  // A whole redraw, as every frame does: the next flip shows only it.
  chain.back->fill(0);
  chain.back->setPixel(4, 2, kBlue);
  ASSERT_EQ(chain.display.flip(*chain.primary), kOk);

  ASSERT_EQ(chain.display.frames.size(), 2u);
  EXPECT_EQ(chain.display.frames[0].at(1, 1), kRed);
  EXPECT_EQ(chain.display.frames[0].at(4, 2), kBlack);
  EXPECT_EQ(chain.display.frames[1].at(1, 1), kBlack);
  EXPECT_EQ(chain.display.frames[1].at(4, 2), kBlue);
  EXPECT_EQ(chain.primary->getPixel(4, 2), kBlue);
}

TEST_P(FlipInEveryDepth, AFailedFlipChangesNothingSoAskingAgainShowsTheNewFrame) {
  Chain chain(GetParam());
  chain.back->fill(0);
  chain.back->setPixel(1, 1, kRed);
  ASSERT_EQ(chain.display.flip(*chain.primary), kOk);

  chain.back->fill(0);
  chain.back->setPixel(3, 2, kBlue);
  chain.display.presentsToRefuse = 1;
  EXPECT_NE(chain.display.flip(*chain.primary), kOk);
  // Still the old frame on screen, the new one still in the back buffer.
  EXPECT_EQ(chain.primary->getPixel(1, 1), kRed);
  EXPECT_EQ(chain.back->getPixel(3, 2), kBlue);
  EXPECT_EQ(chain.back->getPixel(1, 1), kBlack);

  ASSERT_EQ(chain.display.flip(*chain.primary), kOk);
  ASSERT_EQ(chain.display.frames.size(), 2u);
  EXPECT_EQ(chain.display.frames[1].at(3, 2), kBlue);
  EXPECT_EQ(chain.display.frames[1].at(1, 1), kBlack);

  // Any number of failures in a row leave the same frame to show.
  chain.back->fill(0);
  chain.back->setPixel(5, 3, kGreen);
  chain.display.presentsToRefuse = 4;
  for (int i = 0; i < 4; ++i) EXPECT_NE(chain.display.flip(*chain.primary), kOk);
  ASSERT_EQ(chain.display.flip(*chain.primary), kOk);
  ASSERT_EQ(chain.display.frames.size(), 3u);
  EXPECT_EQ(chain.display.frames[2].at(5, 3), kGreen);
  EXPECT_EQ(chain.display.frames[2].at(3, 2), kBlack);
}

TEST_P(FlipInEveryDepth, DrawingAfterAFlipDoesNotReachTheShownPicture) {
  Chain chain(GetParam());
  chain.back->fill(0);
  chain.back->setPixel(2, 2, kGreen);
  ASSERT_EQ(chain.display.flip(*chain.primary), kOk);
  const std::shared_ptr<SurfacePixels> shown = chain.display.lastPresented;
  ASSERT_TRUE(shown);

  // The back buffer view taken before the flip still draws the next frame.
  chain.back->fill(0);
  chain.back->setPixel(0, 0, kRed);
  const auto shownView = SoftwareSurface::Share(shown);
  EXPECT_EQ(shownView->getPixel(2, 2), kGreen);
  EXPECT_EQ(shownView->getPixel(0, 0), kBlack);
  EXPECT_EQ(chain.primary->getPixel(0, 0), kBlack);

  ASSERT_EQ(chain.display.flip(*chain.primary), kOk);
  EXPECT_EQ(chain.primary->getPixel(0, 0), kRed);
  EXPECT_EQ(chain.primary->getPixel(2, 2), kBlack);
  // The pixels handed to present always hold the latest shown frame.
  EXPECT_EQ(SoftwareSurface::Share(chain.display.lastPresented)->getPixel(0, 0), kRed);
}

TEST(Flip, ADisplayThatCopiesFramesGetsEachFrameDrawnOverTheLastInOneMemory) {
  Chain chain(16, true);
  ASSERT_TRUE(chain.primary && chain.back);
  auto* primary = dynamic_cast<SoftwareSurface*>(chain.primary.get());
  ASSERT_EQ(primary->attachedBackBuffer(), primary->pixels());
  auto ink = chain.display.createOffscreen(2, 2);
  ASSERT_TRUE(ink);
  ink->fill(EncodeColor(kRed, 16));
  const Rect dot{0, 0, 2, 2};

  chain.back->fill(0);
  chain.back->blit(Rect{0, 0, 2, 2}, *ink, dot, false);
  ASSERT_EQ(chain.display.flip(*chain.primary), kOk);
  // The next fill clears what the frame drew, in the memory just shown.
  chain.back->fill(0);
  chain.back->blit(Rect{4, 2, 6, 4}, *ink, dot, false);
  ASSERT_EQ(chain.display.flip(*chain.primary), kOk);
  // A refused frame is shown by the next flip, unchanged.
  chain.back->fill(0);
  chain.back->setPixel(2, 1, kBlue);
  chain.display.presentsToRefuse = 1;
  EXPECT_NE(chain.display.flip(*chain.primary), kOk);
  ASSERT_EQ(chain.display.flip(*chain.primary), kOk);

  ASSERT_EQ(chain.display.frames.size(), 3u);
  // Frame, pixel, and the colour it showed.
  const struct {
    size_t frame;
    int32_t x, y;
    ColorRef colour;
  } shown[] = {{0, 1, 1, kRed}, {0, 5, 3, kBlack}, {1, 1, 1, kBlack},
               {1, 5, 3, kRed}, {2, 5, 3, kBlack}, {2, 2, 1, kBlue}};
  for (const auto& s : shown) {
    EXPECT_EQ(chain.display.frames[s.frame].at(s.x, s.y), s.colour) << s.frame << ": " << s.x;
  }
}

TEST(Flip, KeyedCopiesOfEitherSurfaceFollowTheFlips) {
  // Both surfaces of the chain drawn keyed onto an off-screen surface: a
  // cached keyed copy must not outlive a flip that changed the pixels.
  Chain chain(16);
  auto target = chain.display.createOffscreen(6, 4);
  ASSERT_TRUE(target);
  auto& primary = *chain.primary;
  auto& back = *chain.back;
  primary.setColorKey(0);
  back.setColorKey(0);
  const Rect whole{0, 0, 6, 4};

  back.setPixel(1, 0, kRed);
  ASSERT_EQ(target->blit(whole, back, whole, true), kOk);
  ASSERT_EQ(target->blit(whole, primary, whole, true), kOk);
  EXPECT_EQ(target->getPixel(1, 0), kRed);

  ASSERT_EQ(chain.display.flip(primary), kOk);
  back.fill(0);
  back.setPixel(3, 3, kBlue);
  target->fill(0);
  ASSERT_EQ(target->blit(whole, primary, whole, true), kOk);
  EXPECT_EQ(target->getPixel(1, 0), kRed);
  EXPECT_EQ(target->getPixel(3, 3), kBlack);

  target->fill(0);
  ASSERT_EQ(target->blit(whole, back, whole, true), kOk);
  EXPECT_EQ(target->getPixel(1, 0), kBlack);
  EXPECT_EQ(target->getPixel(3, 3), kBlue);
}

TEST(Flip, BlitsOntoTheBackBufferKeepItsClipListAcrossFlips) {
  Chain chain(32);
  const Rect left{0, 0, 3, 4};
  ASSERT_EQ(chain.back->setClipList({&left, 1}), kOk);
  auto paint = chain.display.createOffscreen(6, 4);
  ASSERT_TRUE(paint);
  ASSERT_EQ(paint->fill(EncodeColor(kGreen, 32)), kOk);

  for (int frame = 0; frame < 3; ++frame) {
    chain.back->fill(0);
    ASSERT_EQ(chain.back->blit(Rect{0, 0, 6, 4}, *paint, Rect{0, 0, 6, 4}, false), kOk);
    ASSERT_EQ(chain.display.flip(*chain.primary), kOk);
    EXPECT_EQ(chain.display.frames.back().at(2, 1), kGreen) << "frame " << frame;
    EXPECT_EQ(chain.display.frames.back().at(3, 1), kBlack) << "frame " << frame;
  }
}

TEST(Flip, RefusesSurfacesThatAreNotAPrimary) {
  RecordingDisplay display({6, 4, 16});
  auto offscreen = display.createOffscreen(6, 4);
  ASSERT_TRUE(offscreen);
  EXPECT_NE(display.flip(*offscreen), kOk);
  EXPECT_FALSE(display.backBufferOf(*offscreen));
  EXPECT_TRUE(display.frames.empty());
}

}  // namespace
}  // namespace grazefall::platform::software
