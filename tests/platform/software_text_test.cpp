// Text on in-memory surfaces: the face lookup, the built-in font, opaque and
// transparent backgrounds, and clipping at the edges.
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <utility>

#include "platform/software/pixel_format.h"
#include "platform/software/software_font.h"
#include "platform/software/software_surface.h"

namespace grazefall::platform::software {
namespace {

constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kBlack = Rgb(0, 0, 0);

std::unique_ptr<SoftwareSurface> BlueSurface(int32_t w, int32_t h, int32_t depth = 16) {
  auto s = SoftwareSurface::Create(w, h, depth);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) s->setPixel(x, y, kBlue);
  return s;
}

struct Census {
  int text = 0, black = 0, blue = 0, other = 0;
  // Bounding box of everything that is not blue.
  Rect touched{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
};

Census Count(const SoftwareSurface& s, ColorRef textColor) {
  Census c;
  for (int32_t y = 0; y < s.height(); ++y) {
    for (int32_t x = 0; x < s.width(); ++x) {
      const ColorRef p = s.getPixel(x, y);
      if (p == kBlue) {
        ++c.blue;
        continue;
      }
      if (p == textColor)
        ++c.text;
      else if (p == kBlack)
        ++c.black;
      else
        ++c.other;
      c.touched = {std::min(c.touched.left, x), std::min(c.touched.top, y),
                   std::max(c.touched.right, x + 1), std::max(c.touched.bottom, y + 1)};
    }
  }
  return c;
}

class BothFonts : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (GetParam()) {
      face_ = SoftwareFont::Open("Lucida Console", 16, 400);
      ASSERT_TRUE(face_) << "no monospace face installed";
    }
  }
  const Font* font() const { return face_.get(); }
  std::unique_ptr<SoftwareFont> face_;
};
INSTANTIATE_TEST_SUITE_P(Text, BothFonts, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Face" : "BuiltIn"; });

TEST_P(BothFonts, TransparentTextPutsOnlyTextPixelsInsideItsBox) {
  auto s = BlueSurface(200, 40);
  ASSERT_EQ(s->drawText(10, 5, "Moo 42", font(), kWhite, true), kOk);
  int32_t w = 0, h = 0;
  MeasureText("Moo 42", font(), &w, &h);
  const Census c = Count(*s, kWhite);
  EXPECT_GT(c.text, 20);
  EXPECT_EQ(c.black, 0);
  EXPECT_EQ(c.other, 0) << "text is drawn unsmoothed, in exactly its colour";
  EXPECT_GE(c.touched.left, 10);
  EXPECT_GE(c.touched.top, 5);
  EXPECT_LE(c.touched.right, 10 + w);
  EXPECT_LE(c.touched.bottom, 5 + h);
}

TEST_P(BothFonts, OpaqueTextSitsOnABlackBoxOfItsSize) {
  auto s = BlueSurface(200, 40);
  ASSERT_EQ(s->drawText(3, 4, "Moo", font(), kWhite, false), kOk);
  int32_t w = 0, h = 0;
  MeasureText("Moo", font(), &w, &h);
  const Census c = Count(*s, kWhite);
  EXPECT_EQ(c.text + c.black, w * h);
  EXPECT_GT(c.text, 10);
  EXPECT_EQ(c.touched, (Rect{3, 4, 3 + w, 4 + h}));
}

TEST_P(BothFonts, TextIsCutAtEveryEdge) {
  auto s = BlueSurface(30, 10);
  EXPECT_EQ(s->drawText(-7, -6, "Wide text running off", font(), kWhite, false), kOk);
  EXPECT_EQ(s->drawText(25, 8, "Wide text running off", font(), kWhite, false), kOk);
  EXPECT_EQ(s->drawText(INT32_MAX - 3, INT32_MIN + 1, "far away", font(), kWhite, false), kOk);
  const Census c = Count(*s, kWhite);
  EXPECT_GT(c.black + c.text, 0);
  EXPECT_NE(s->getPixel(0, 0), kBlue);
  EXPECT_NE(s->getPixel(29, 9), kBlue);
}

TEST_P(BothFonts, EmptyTextDrawsNothingEvenOpaque) {
  auto s = BlueSurface(20, 20);
  EXPECT_EQ(s->drawText(2, 2, "", font(), kWhite, false), kOk);
  // Text ends at a NUL, as a C string does.
  EXPECT_EQ(s->drawText(2, 2, std::string_view("\0abc", 4), font(), kWhite, false), kOk);
  EXPECT_EQ(Count(*s, kWhite).blue, 400);
}

TEST_P(BothFonts, EveryDepthGetsTheSameTextColour) {
  for (const int32_t depth : {8, 16, 24, 32}) {
    auto s = BlueSurface(60, 20, depth);
    s->drawText(0, 0, "abc", font(), Rgb(255, 255, 0), true);
    const Census c = Count(*s, Rgb(255, 255, 0));
    EXPECT_GT(c.text, 5) << depth;
    EXPECT_EQ(c.other, 0) << depth;
  }
}

// Text is held on screen for many frames: the surface records where it went,
// so the next fill still clears only what was drawn and leaves nothing of it,
// opaque or not, wherever the line was cut.
TEST_P(BothFonts, TheNextFillClearsTextAndKeepsTheClearKnown) {
  // Cleared to blue, so the opaque text's black box shows as well as its ink.
  const uint32_t blue = EncodeColor(kBlue, 16);
  for (const bool transparent : {true, false}) {
    for (const auto& [x, y] : {std::pair{20, 12}, std::pair{-9, -5}, std::pair{150, 45}}) {
      SCOPED_TRACE(testing::Message() << "at " << x << "," << y << (transparent ? " clear" : ""));
      auto s = SoftwareSurface::Create(200, 60, 16);
      ASSERT_EQ(s->fill(blue), kOk);
      ASSERT_EQ(s->drawText(x, y, "jolly gypsy|", font(), kWhite, transparent), kOk);
      ASSERT_NE(Count(*s, kWhite).text, 0);
      EXPECT_TRUE(s->pixels()->clearKnown);
      ASSERT_EQ(s->fill(blue), kOk);
      EXPECT_EQ(Count(*s, kWhite).blue, s->width() * s->height());
    }
  }
}

// A face keeps the last line it rendered: each line must still come out as
// itself, however the lines alternate.
TEST_P(BothFonts, EachLineIsDrawnAsItselfWhateverCameBefore) {
  auto drawn = [&](std::string_view text) {
    auto s = BlueSurface(120, 24);
    EXPECT_EQ(s->drawText(1, 1, text, font(), kWhite, true), kOk);
    return s->toPicture().pixels;
  };
  const auto moo = drawn("Moo");
  const auto grass = drawn("We need your Grass");
  EXPECT_NE(moo, grass);
  EXPECT_EQ(drawn("Moo"), moo);
  EXPECT_EQ(drawn("We need your Grass"), grass);
}

TEST(FontLookup, MissingFaceFallsBackToAMonospaceFaceOfTheAskedHeight) {
  for (const char* face : {"Lucida Console", "No Such Face At All", ""}) {
    const auto font = SoftwareFont::Open(face, 20, 400);
    ASSERT_TRUE(font) << face;
    EXPECT_TRUE(TTF_FontFaceIsFixedWidth(font->ttf())) << face << " matched " << font->family();
    int32_t h = 0;
    MeasureText("x", font.get(), nullptr, &h);
    EXPECT_NEAR(h, 20, 1) << face;
  }
  // An installed face is taken by its own name.
  const auto dejavu = SoftwareFont::Open("DejaVu Sans", 12, 400);
  ASSERT_TRUE(dejavu);
  EXPECT_EQ(dejavu->family(), "DejaVu Sans");
}

TEST(FontLookup, BoldAndAbsurdHeightsStillGiveAFont) {
  const auto bold = SoftwareFont::Open("Lucida Console", 16, 700);
  const auto plain = SoftwareFont::Open("Lucida Console", 16, 400);
  ASSERT_TRUE(bold && plain);
  auto a = BlueSurface(100, 20), b = BlueSurface(100, 20);
  a->drawText(0, 0, "MMMM", bold.get(), kWhite, true);
  b->drawText(0, 0, "MMMM", plain.get(), kWhite, true);
  EXPECT_GT(Count(*a, kWhite).text, Count(*b, kWhite).text);
  for (const int32_t height : {0, -12, 1, 100000, INT32_MIN}) {
    EXPECT_TRUE(SoftwareFont::Open("Lucida Console", height, 400)) << height;
  }
}

}  // namespace
}  // namespace grazefall::platform::software
