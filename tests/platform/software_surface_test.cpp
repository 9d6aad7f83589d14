// Pixels, keys, blits and clipping of the in-memory surfaces, in every depth.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "platform/software/pixel_format.h"
#include "platform/software/software_surface.h"

namespace grazefall::platform::software {
namespace {

constexpr ColorRef kMagenta = Rgb(255, 0, 255);
constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kGreen = Rgb(0, 255, 0);

// A picture of `w` x `h` in `background` with the listed pixels set.
Picture MakePicture(int32_t w, int32_t h, ColorRef background) {
  Picture p;
  p.width = w;
  p.height = h;
  p.pixels.assign(static_cast<size_t>(w) * h, background);
  return p;
}

void Set(Picture& p, int32_t x, int32_t y, ColorRef c) {
  p.pixels[static_cast<size_t>(y) * p.width + x] = c;
}

std::unique_ptr<SoftwareSurface> SurfaceOf(const Picture& picture, int32_t depth) {
  auto s = SoftwareSurface::Create(picture.width, picture.height, depth);
  EXPECT_TRUE(s);
  EXPECT_EQ(s->drawPicture(picture, Rect{0, 0, picture.width, picture.height}), kOk);
  return s;
}

// A surface whose pixel (0, 0) is the key colour, keyed on that pixel the
// way sheets are.
std::unique_ptr<SoftwareSurface> KeyedSheet(const Picture& picture, int32_t depth) {
  auto s = SurfaceOf(picture, depth);
  s->setColorKey(s->pixelValueOf(kClrInvalid));
  return s;
}

class EveryDepth : public ::testing::TestWithParam<int32_t> {};
INSTANTIATE_TEST_SUITE_P(Surfaces, EveryDepth, ::testing::Values(8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bits"; });

TEST(SurfaceCreation, RefusesUnsupportedDepthsAndSizes) {
  EXPECT_FALSE(SoftwareSurface::Create(10, 10, 15));
  EXPECT_FALSE(SoftwareSurface::Create(10, 10, 4));
  EXPECT_FALSE(SoftwareSurface::Create(0, 10, 16));
  EXPECT_FALSE(SoftwareSurface::Create(10, -1, 16));
  EXPECT_FALSE(SoftwareSurface::Create(kMaxSurfaceSide + 1, 1, 16));
  auto s = SoftwareSurface::Create(3, 2, 24);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->width(), 3);
  EXPECT_EQ(s->height(), 2);
  EXPECT_EQ(s->bitDepth(), 24);
  EXPECT_EQ(s->getPixel(2, 1), Rgb(0, 0, 0));
}

TEST(ColorKeyValue, FirstPixelWordIsThePixelValueOfEachDepth) {
  // Magenta, white and a dark grey as the top-left pixel of a 5 x 5 picture
  // (the word read may reach into the next pixels, which are red).
  struct Case {
    int32_t depth;
    ColorRef color;
    uint32_t expected;
  };
  const Case cases[] = {
      {8, kMagenta, 0xE3},        {8, kWhite, 0xFF},        {8, Rgb(64, 64, 64), 0x49},
      {16, kMagenta, 0xF81F},     {16, kWhite, 0xFFFF},     {16, Rgb(64, 64, 64), 0x4208},
      {24, kMagenta, 0xFF00FF},   {24, kWhite, 0xFFFFFF},   {24, Rgb(64, 64, 64), 0x404040},
      {32, kMagenta, 0x00FF00FF}, {32, kWhite, 0x00FFFFFF}, {32, Rgb(64, 64, 64), 0x00404040},
  };
  for (const Case& c : cases) {
    Picture p = MakePicture(5, 5, kRed);
    Set(p, 0, 0, c.color);
    auto s = SurfaceOf(p, c.depth);
    uint32_t word = 0;
    ASSERT_TRUE(s->readFirstPixelWord(&word));
    const uint32_t mask = c.depth == 32 ? 0xFFFFFFFFu : (1u << c.depth) - 1u;
    EXPECT_EQ(word & mask, c.expected) << c.depth << " bits, colour " << std::hex << c.color;
  }
}

TEST_P(EveryDepth, KeyTakenFromTopLeftMatchesEveryBackgroundPixel) {
  // An odd background colour that no depth holds exactly: the key must still
  // equal the converted value of every background pixel.
  const ColorRef odd = Rgb(201, 77, 13);
  Picture p = MakePicture(6, 4, odd);
  Set(p, 2, 2, kGreen);
  auto sheet = KeyedSheet(p, GetParam());
  auto target = SoftwareSurface::Create(6, 4, GetParam());
  target->fill(0);
  target->blit(Rect{0, 0, 6, 4}, *sheet, Rect{0, 0, 6, 4}, true);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 6; ++x) {
      if (x == 2 && y == 2) continue;
      EXPECT_EQ(target->getPixel(x, y), Rgb(0, 0, 0)) << x << "," << y;
    }
  }
  EXPECT_EQ(target->getPixel(2, 2), sheet->getPixel(2, 2));
  EXPECT_NE(target->getPixel(2, 2), Rgb(0, 0, 0));
}

TEST_P(EveryDepth, PixelAccessConvertsAndAnswersInvalidOutside) {
  auto s = SoftwareSurface::Create(4, 3, GetParam());
  ASSERT_TRUE(s);
  // Primary colours and black and white survive every depth unchanged.
  for (const ColorRef c : {kRed, kGreen, kBlue, kWhite, Rgb(0, 0, 0)}) {
    EXPECT_EQ(s->setPixel(1, 1, c), c);
    EXPECT_EQ(s->getPixel(1, 1), c);
  }
  // A colour the depth cannot hold reads back as what setPixel reported.
  const ColorRef written = s->setPixel(3, 2, Rgb(201, 77, 13));
  EXPECT_EQ(s->getPixel(3, 2), written);
  for (const auto& [x, y] : std::array<std::pair<int, int>, 6>{
           {{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {4, 3}, {INT32_MIN, INT32_MAX}}}) {
    EXPECT_EQ(s->getPixel(x, y), kClrInvalid) << x << "," << y;
    EXPECT_EQ(s->setPixel(x, y, kRed), kClrInvalid) << x << "," << y;
  }
}

TEST_P(EveryDepth, FillWritesTheValueEverywhere) {
  auto s = SoftwareSurface::Create(7, 5, GetParam());
  // Red's pixel value in each depth: RRRGGGBB, RGB565, 0xRRGGBB.
  const uint32_t redValue = GetParam() == 8 ? 0xE0 : GetParam() == 16 ? 0xF800 : 0xFF0000;
  ASSERT_EQ(s->fill(redValue), kOk);
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 7; ++x) ASSERT_EQ(s->getPixel(x, y), kRed);
  }
}

// A 4 x 3 sprite on a magenta key: a red frame around a green centre pixel
// row, with key pixels in its corners.
Picture Sprite() {
  Picture p = MakePicture(4, 3, kMagenta);
  for (int32_t x = 1; x < 4; ++x) Set(p, x, 0, kRed);
  Set(p, 1, 1, kGreen);
  Set(p, 2, 1, kGreen);
  for (int32_t x = 0; x < 3; ++x) Set(p, x, 2, kRed);
  return p;
}

TEST_P(EveryDepth, KeyedBlitSkipsKeyPixelsAndUnkeyedCopiesAll) {
  const Picture sprite = Sprite();
  auto sheet = KeyedSheet(sprite, GetParam());
  for (const bool keyed : {true, false}) {
    auto target = SoftwareSurface::Create(10, 8, GetParam());
    for (int32_t y = 0; y < 8; ++y)
      for (int32_t x = 0; x < 10; ++x) target->setPixel(x, y, kBlue);
    ASSERT_EQ(target->blit(Rect{3, 2, 7, 5}, *sheet, Rect{0, 0, 4, 3}, keyed), kOk);
    for (int32_t y = 0; y < 8; ++y) {
      for (int32_t x = 0; x < 10; ++x) {
        const bool inside = x >= 3 && x < 7 && y >= 2 && y < 5;
        ColorRef want = kBlue;
        if (inside) {
          const ColorRef src = sprite.at(x - 3, y - 2);
          want = (keyed && src == kMagenta) ? kBlue : src;
        }
        ASSERT_EQ(target->getPixel(x, y), want) << (keyed ? "keyed " : "plain ") << x << "," << y;
      }
    }
  }
}

TEST_P(EveryDepth, KeyedBlitSeesLaterChangesToTheSourceAndItsKey) {
  // Keyed copies use what was found in the sheet beforehand; writing the
  // sheet or changing its key must not leave that stale.
  Picture p = MakePicture(3, 3, kMagenta);
  auto sheet = KeyedSheet(p, GetParam());
  auto target = SoftwareSurface::Create(3, 3, GetParam());
  target->blit(Rect{0, 0, 3, 3}, *sheet, Rect{0, 0, 3, 3}, true);
  EXPECT_EQ(target->getPixel(1, 1), Rgb(0, 0, 0));
  sheet->setPixel(1, 1, kWhite);
  target->blit(Rect{0, 0, 3, 3}, *sheet, Rect{0, 0, 3, 3}, true);
  EXPECT_EQ(target->getPixel(1, 1), kWhite);
  EXPECT_EQ(target->getPixel(0, 1), Rgb(0, 0, 0));

  sheet->setColorKey(sheet->pixelValueOf(kWhite));
  auto fresh = SoftwareSurface::Create(3, 3, GetParam());
  fresh->blit(Rect{0, 0, 3, 3}, *sheet, Rect{0, 0, 3, 3}, true);
  EXPECT_EQ(fresh->getPixel(1, 1), Rgb(0, 0, 0));
  EXPECT_EQ(fresh->getPixel(0, 1), sheet->getPixel(0, 1));
}

TEST_P(EveryDepth, AColoursPixelValueIsWhatDrawingItStoresAndNoPixelChanges) {
  const int32_t depth = GetParam();
  const ColorRef odd = Rgb(0x12, 0x34, 0x56);
  Picture p = MakePicture(4, 3, kRed);
  Set(p, 0, 0, odd);
  auto s = SurfaceOf(p, depth);
  uint32_t before = 0;
  ASSERT_TRUE(s->readFirstPixelWord(&before));

  const uint32_t white = depth == 8 ? 0xFFu : depth == 16 ? 0xFFFFu : 0xFFFFFFu;
  EXPECT_EQ(s->pixelValueOf(kWhite), white);
  uint32_t red = 0;
  ASSERT_TRUE(SurfaceOf(MakePicture(1, 1, kRed), depth)->readFirstPixelWord(&red));
  EXPECT_EQ(s->pixelValueOf(kRed), MaskToDepth(red, depth));
  uint32_t after = 0;
  ASSERT_TRUE(s->readFirstPixelWord(&after));
  EXPECT_EQ(after, before);
  // No colour asks for what pixel (0, 0) holds.
  EXPECT_EQ(s->pixelValueOf(kClrInvalid), MaskToDepth(before, depth));
}

TEST_P(EveryDepth, PartlyOffScreenBlitDrawsTheVisiblePart) {
  Picture p = MakePicture(4, 4, kMagenta);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) Set(p, x, y, Rgb(static_cast<uint8_t>(x * 64), 0, 255));
  Set(p, 0, 0, kMagenta);
  auto sheet = KeyedSheet(p, GetParam());
  auto target = SoftwareSurface::Create(6, 6, GetParam());
  // Off the top-left corner: source pixels (2..3, 2..3) land at (0..1, 0..1).
  ASSERT_EQ(target->blit(Rect{-2, -2, 2, 2}, *sheet, Rect{0, 0, 4, 4}, true), kOk);
  EXPECT_EQ(target->getPixel(0, 0), sheet->getPixel(2, 2));
  EXPECT_EQ(target->getPixel(1, 1), sheet->getPixel(3, 3));
  EXPECT_EQ(target->getPixel(2, 0), Rgb(0, 0, 0));
  // Off the bottom-right corner.
  ASSERT_EQ(target->blit(Rect{5, 5, 9, 9}, *sheet, Rect{0, 0, 4, 4}, false), kOk);
  EXPECT_EQ(target->getPixel(5, 5), sheet->getPixel(0, 0));
  EXPECT_EQ(target->getPixel(4, 5), Rgb(0, 0, 0));
  // Entirely off, and absurdly far off: nothing drawn, no failure.
  auto before = target->toPicture();
  EXPECT_EQ(target->blit(Rect{100, 0, 104, 4}, *sheet, Rect{0, 0, 4, 4}, true), kOk);
  EXPECT_EQ(target->blit(Rect{INT32_MAX - 4, INT32_MIN, INT32_MAX, INT32_MIN + 4}, *sheet,
                         Rect{0, 0, 4, 4}, true),
            kOk);
  EXPECT_EQ(target->toPicture().pixels, before.pixels);
}

TEST_P(EveryDepth, ClipListCutsBlitsToItsRectangles) {
  Picture p = MakePicture(8, 8, kWhite);
  auto sheet = SurfaceOf(p, GetParam());
  auto target = SoftwareSurface::Create(8, 8, GetParam());
  const Rect clips[] = {{0, 0, 2, 2}, {5, 5, 20, 20}};
  target->setClipList(clips);
  ASSERT_EQ(target->blit(Rect{0, 0, 8, 8}, *sheet, Rect{0, 0, 8, 8}, false), kOk);
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const bool inClip = (x < 2 && y < 2) || (x >= 5 && y >= 5);
      ASSERT_EQ(target->getPixel(x, y), inClip ? kWhite : Rgb(0, 0, 0)) << x << "," << y;
    }
  }
  // Scaled copies obey the same list.
  auto small = SurfaceOf(MakePicture(2, 2, kRed), GetParam());
  ASSERT_EQ(target->blit(Rect{0, 0, 8, 8}, *small, Rect{0, 0, 2, 2}, false), kOk);
  EXPECT_EQ(target->getPixel(1, 1), kRed);
  EXPECT_EQ(target->getPixel(7, 7), kRed);
  EXPECT_EQ(target->getPixel(3, 3), Rgb(0, 0, 0));
  // An empty list leaves only the surface's own bounds.
  target->setClipList({});
  ASSERT_EQ(target->blit(Rect{-1, -1, 9, 9}, *sheet, Rect{0, 0, 8, 8}, false), kOk);
  EXPECT_EQ(target->getPixel(3, 3), kWhite);
}

TEST_P(EveryDepth, ScaledBlitStretchesAndHonoursTheKey) {
  Picture p = MakePicture(2, 2, kMagenta);
  Set(p, 1, 0, kRed);
  Set(p, 0, 1, kGreen);
  Set(p, 1, 1, kWhite);
  auto sheet = KeyedSheet(p, GetParam());
  for (const bool keyed : {false, true}) {
    auto target = SoftwareSurface::Create(6, 6, GetParam());
    target->fill(0);
    ASSERT_EQ(target->blit(Rect{1, 1, 5, 5}, *sheet, Rect{0, 0, 2, 2}, keyed), kOk);
    EXPECT_EQ(target->getPixel(1, 1), keyed ? Rgb(0, 0, 0) : kMagenta);
    EXPECT_EQ(target->getPixel(2, 2), keyed ? Rgb(0, 0, 0) : kMagenta);
    EXPECT_EQ(target->getPixel(3, 1), kRed);
    EXPECT_EQ(target->getPixel(4, 2), kRed);
    EXPECT_EQ(target->getPixel(1, 4), kGreen);
    EXPECT_EQ(target->getPixel(4, 4), kWhite);
    EXPECT_EQ(target->getPixel(5, 5), Rgb(0, 0, 0));
    EXPECT_EQ(target->getPixel(0, 0), Rgb(0, 0, 0));
  }
}

TEST(Blit, EmptyOrInvertedRectanglesFailAndDrawNothing) {
  auto sheet = SurfaceOf(MakePicture(4, 4, kWhite), 16);
  auto target = SoftwareSurface::Create(4, 4, 16);
  EXPECT_NE(target->blit(Rect{0, 0, 0, 5}, *sheet, Rect{0, 0, 4, 4}, false), kOk);
  EXPECT_NE(target->blit(Rect{3, 3, 1, 1}, *sheet, Rect{0, 0, 4, 4}, false), kOk);
  EXPECT_NE(target->blit(Rect{0, 0, 4, 4}, *sheet, Rect{0, 0, 0, 0}, false), kOk);
  EXPECT_EQ(target->getPixel(1, 1), Rgb(0, 0, 0));
}

TEST(Blit, CopyWithinOneSurfaceReadsTheOriginalPixels) {
  Picture p = MakePicture(4, 1, kRed);
  Set(p, 1, 0, kGreen);
  Set(p, 2, 0, kBlue);
  auto s = SurfaceOf(p, 32);
  // Overlapping move one pixel right.
  ASSERT_EQ(s->blit(Rect{1, 0, 4, 1}, *s, Rect{0, 0, 3, 1}, false), kOk);
  EXPECT_EQ(s->getPixel(1, 0), kRed);
  EXPECT_EQ(s->getPixel(2, 0), kGreen);
  EXPECT_EQ(s->getPixel(3, 0), kBlue);
}

TEST(DrawPicture, StretchesTheSourceRectangleOverTheSurface) {
  Picture p = MakePicture(4, 4, kBlue);
  Set(p, 2, 2, kRed);
  Set(p, 3, 2, kGreen);
  auto s = SoftwareSurface::Create(4, 2, 24);
  ASSERT_EQ(s->drawPicture(p, Rect{2, 2, 4, 3}), kOk);
  EXPECT_EQ(s->getPixel(0, 0), kRed);
  EXPECT_EQ(s->getPixel(1, 1), kRed);
  EXPECT_EQ(s->getPixel(2, 0), kGreen);
  EXPECT_EQ(s->getPixel(3, 1), kGreen);
  // A picture whose pixel count does not match its size is refused.
  Picture broken = MakePicture(4, 4, kRed);
  broken.pixels.pop_back();
  EXPECT_NE(s->drawPicture(broken, Rect{0, 0, 4, 4}), kOk);
  EXPECT_EQ(s->getPixel(0, 0), kRed);
  EXPECT_NE(s->drawPicture(p, Rect{0, 0, 0, 4}), kOk);
}

TEST(SharedPixels, BackBufferViewWritesThroughAndOutlivesItsOwner) {
  auto owner = SoftwareSurface::Create(2, 2, 16);
  auto view = SoftwareSurface::Share(owner->pixels());
  view->setPixel(1, 1, kRed);
  EXPECT_EQ(owner->getPixel(1, 1), kRed);
  owner.reset();
  EXPECT_EQ(view->getPixel(1, 1), kRed);
}

}  // namespace
}  // namespace grazefall::platform::software
