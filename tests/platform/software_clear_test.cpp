// Clearing fills that redraw only what was drawn since the previous fill must
// leave exactly the pixels a whole fill would, whatever was written between
// them and however the pixel memory was traded in the meantime.
#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/software/pixel_format.h"
#include "platform/software/software_surface.h"

namespace grazefall::platform::software {
namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;
constexpr ColorRef kKey = Rgb(255, 0, 255);
constexpr ColorRef kInk = Rgb(0, 255, 0);

// A 6 x 5 sheet keyed on its magenta corner with a solid block of ink.
std::unique_ptr<SoftwareSurface> Sheet(int32_t depth) {
  auto sheet = SoftwareSurface::Create(6, 5, depth);
  EXPECT_TRUE(sheet);
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 6; ++x) sheet->setPixel(x, y, (x == 0 || y == 0) ? kKey : kInk);
  }
  sheet->setColorKey(EncodeColor(kKey, depth));
  return sheet;
}

// The number of pixels of `surface` whose raw value is not `value`.
int64_t PixelsOtherThan(const SoftwareSurface& surface, uint32_t value) {
  int64_t count = 0;
  for (int32_t y = 0; y < surface.height(); ++y) {
    for (int32_t x = 0; x < surface.width(); ++x) count += surface.pixelValueAt(x, y) != value;
  }
  return count;
}

void Stamp(SoftwareSurface& target, SoftwareSurface& sheet, int32_t x, int32_t y) {
  ASSERT_EQ(target.blit(Rect{x, y, x + 6, y + 5}, sheet, Rect{0, 0, 6, 5}, true), kOk);
}

class ClearEveryDepth : public ::testing::TestWithParam<int32_t> {};
INSTANTIATE_TEST_SUITE_P(Surfaces, ClearEveryDepth, ::testing::Values(8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bits"; });

TEST_P(ClearEveryDepth, FillAfterBlitsClearsEverythingTheyDrew) {
  const int32_t depth = GetParam();
  auto target = SoftwareSurface::Create(kWidth, kHeight, depth);
  auto sheet = Sheet(depth);
  ASSERT_EQ(target->fill(0), kOk);
  Stamp(*target, *sheet, 3, 4);
  // Only the ink is recorded as drawn: the sheet's key row and column are not.
  EXPECT_EQ(target->pixels()->drawn.back(), (Rect{4, 5, 9, 9}));
  Stamp(*target, *sheet, -2, -3);                   // cut at the top-left corner
  Stamp(*target, *sheet, kWidth - 2, kHeight - 1);  // cut at the bottom-right corner
  Stamp(*target, *sheet, 30, 20);
  ASSERT_GT(PixelsOtherThan(*target, 0), 0);
  ASSERT_EQ(target->fill(0), kOk);
  EXPECT_EQ(PixelsOtherThan(*target, 0), 0);

  // A scaled blit and a second round on the same pixels.
  ASSERT_EQ(target->blit(Rect{10, 10, 40, 30}, *sheet, Rect{0, 0, 6, 5}, true), kOk);
  Stamp(*target, *sheet, 50, 2);
  ASSERT_EQ(target->fill(0), kOk);
  EXPECT_EQ(PixelsOtherThan(*target, 0), 0);
}

// The clearing colour need not be black: one whose bytes are all alike
// (white at 8 and 16 bits) and one whose bytes differ (blue) both clear
// exactly what was drawn, to the last pixel of each cut row, and of rows of
// every width from 1 pixel to the surface's (on every other line of a
// surface twice as tall, so that only they are cleared).
TEST_P(ClearEveryDepth, RepeatedFillsOfAColourClearWhatWasDrawn) {
  const int32_t depth = GetParam();
  auto ink = SoftwareSurface::Create(kWidth, 1, depth);
  ASSERT_EQ(ink->fill(EncodeColor(kInk, depth)), kOk);
  for (const ColorRef colour : {Rgb(255, 255, 255), Rgb(0, 0, 255)}) {
    SCOPED_TRACE(colour);
    auto target = SoftwareSurface::Create(kWidth, 2 * kWidth, depth);
    auto sheet = Sheet(depth);
    const uint32_t value = EncodeColor(colour, depth);
    ASSERT_EQ(target->fill(value), kOk);
    Stamp(*target, *sheet, 7, 9);
    Stamp(*target, *sheet, kWidth - 3, 0);
    Stamp(*target, *sheet, 20, 2 * kWidth - 2);
    for (int32_t width = 1; width <= kWidth; ++width) {
      const Rect row{(kWidth - width) / 2, 2 * width - 1, (kWidth + width) / 2, 2 * width};
      ASSERT_EQ(target->blit(row, *ink, Rect{0, 0, row.width(), 1}, false), kOk);
    }
    ASSERT_GT(PixelsOtherThan(*target, value), 0);
    ASSERT_EQ(target->fill(value), kOk);
    EXPECT_EQ(PixelsOtherThan(*target, value), 0);
  }
}

TEST_P(ClearEveryDepth, FillWithAnotherValueCoversTheWholeSurface) {
  const int32_t depth = GetParam();
  auto target = SoftwareSurface::Create(kWidth, kHeight, depth);
  auto sheet = Sheet(depth);
  ASSERT_EQ(target->fill(0), kOk);
  Stamp(*target, *sheet, 5, 5);
  const uint32_t blue = EncodeColor(Rgb(0, 0, 255), depth);
  ASSERT_EQ(target->fill(blue), kOk);
  EXPECT_EQ(PixelsOtherThan(*target, blue), 0);
}

TEST_P(ClearEveryDepth, WritesOfUnknownExtentMakeTheNextFillWhole) {
  const int32_t depth = GetParam();
  auto target = SoftwareSurface::Create(kWidth, kHeight, depth);
  auto sheet = Sheet(depth);

  ASSERT_EQ(target->fill(0), kOk);
  Stamp(*target, *sheet, 1, 1);
  target->setPixel(60, 40, kInk);
  ASSERT_EQ(target->fill(0), kOk);
  EXPECT_EQ(PixelsOtherThan(*target, 0), 0) << "after setPixel";

  // Pixels written behind the surface's back, then reported.
  ASSERT_EQ(target->fill(0), kOk);
  SDL_Rect corner{kWidth - 4, kHeight - 4, 4, 4};
  ASSERT_EQ(SDL_FillRect(target->sdlSurface(), &corner, 1), 0);
  target->markWritten();
  ASSERT_EQ(target->fill(0), kOk);
  EXPECT_EQ(PixelsOtherThan(*target, 0), 0) << "after markWritten";
}

// Memory lent to a surface, as a backend lends memory its display reads.
class LentMemory final : public PixelMemory {
 public:
  explicit LentMemory(int32_t depth)
      : pitch_(kWidth * ((depth + 7) / 8) + 8), bytes_(pitch_ * kHeight) {}
  void* data() const override { return const_cast<uint8_t*>(bytes_.data()); }
  int32_t pitch() const override { return pitch_; }

 private:
  int32_t pitch_;
  std::vector<uint8_t> bytes_;
};

std::unique_ptr<SoftwareSurface> FlipSurface(int32_t depth, bool lent) {
  return lent ? SoftwareSurface::CreateOn(std::make_unique<LentMemory>(depth), kWidth, kHeight,
                                          depth)
              : SoftwareSurface::Create(kWidth, kHeight, depth);
}

TEST_P(ClearEveryDepth, TradedPixelsKeepTheirOwnRecordOfWhatWasDrawn) {
  // Two buffers flipped every frame, each drawn in other places, the way a
  // primary and its back buffer alternate; in memory of their own or lent.
  const int32_t depth = GetParam();
  for (const bool lent : {false, true}) {
    auto front = FlipSurface(depth, lent);
    auto back = FlipSurface(depth, lent);
    ASSERT_TRUE(front && back);
    auto sheet = Sheet(depth);
    for (int32_t frame = 0; frame < 6; ++frame) {
      ASSERT_EQ(back->fill(0), kOk);
      EXPECT_EQ(PixelsOtherThan(*back, 0), 0) << "frame " << frame << (lent ? ", lent" : "");
      Stamp(*back, *sheet, 7 * frame, 5 * frame);
      if (frame % 2 == 0) Stamp(*back, *sheet, kWidth - 8, frame);
      void* drawn = back->sdlSurface()->pixels;
      ASSERT_TRUE(front->tradePixelsWith(*back->pixels()));
      // The memory itself moves, lent memory with its owner.
      EXPECT_EQ(front->sdlSurface()->pixels, drawn);
      if (lent) {
        EXPECT_EQ(front->pixels()->lent->data(), drawn);
        EXPECT_EQ(back->pixels()->lent->data(), back->sdlSurface()->pixels);
      }
    }
  }
}

TEST(ClearLimits, ManyBlitsOrALargeDrawnAreaStillClearEverything) {
  auto target = SoftwareSurface::Create(kWidth, kHeight, 16);
  auto sheet = Sheet(16);
  ASSERT_EQ(target->fill(0), kOk);
  // More drawn rectangles than the surface keeps track of.
  for (int32_t i = 0; i < 5000; ++i) Stamp(*target, *sheet, (i * 7) % kWidth, (i * 3) % kHeight);
  ASSERT_EQ(target->fill(0), kOk);
  EXPECT_EQ(PixelsOtherThan(*target, 0), 0);

  // One blit over the whole surface.
  ASSERT_EQ(target->blit(Rect{0, 0, kWidth, kHeight}, *sheet, Rect{1, 1, 6, 5}, false), kOk);
  ASSERT_EQ(target->fill(0), kOk);
  EXPECT_EQ(PixelsOtherThan(*target, 0), 0);
}

TEST(ClearLimits, ClippedAndSelfBlitsAreCleared) {
  auto target = SoftwareSurface::Create(kWidth, kHeight, 32);
  auto sheet = Sheet(32);
  ASSERT_EQ(target->fill(0), kOk);
  const Rect clip[] = {Rect{0, 0, 20, 20}, Rect{40, 30, 64, 48}};
  ASSERT_EQ(target->setClipList(clip), kOk);
  ASSERT_EQ(target->blit(Rect{10, 10, 60, 45}, *sheet, Rect{0, 0, 6, 5}, true), kOk);  // scaled
  Stamp(*target, *sheet, 16, 16);
  ASSERT_EQ(target->setClipList({}), kOk);
  Stamp(*target, *sheet, 2, 2);
  // A copy within the surface.
  ASSERT_EQ(target->blit(Rect{30, 5, 36, 10}, *target, Rect{2, 2, 8, 7}, false), kOk);
  ASSERT_GT(PixelsOtherThan(*target, 0), 0);
  ASSERT_EQ(target->fill(0), kOk);
  EXPECT_EQ(PixelsOtherThan(*target, 0), 0);
}

}  // namespace
}  // namespace grazefall::platform::software
