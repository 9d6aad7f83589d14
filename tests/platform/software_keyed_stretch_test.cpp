// The keyed stretch must draw exactly what SDL's own scaled colour-keyed blit
// draws, in every depth and for growing, shrinking and uneven ratios; and it
// refuses what it cannot draw whole, leaving the target untouched.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/software/keyed_stretch.h"
#include "tests/support/sdl_surfaces.h"

namespace grazefall::platform::software {
namespace {

using grazefall::testing::NewSurface;
using grazefall::testing::SamePixels;
using grazefall::testing::Scribble;

class StretchInEveryDepth : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(KeyedStretch, StretchInEveryDepth, ::testing::Values(8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bits"; });

TEST_P(StretchInEveryDepth, DrawsWhatSdlsScaledKeyedBlitDraws) {
  const int depth = GetParam();
  std::mt19937 random(static_cast<unsigned>(depth));
  const uint32_t key = depth == 8 ? 0xE3u : depth == 16 ? 0xF81Fu : 0xFF00FFu;
  auto picture = NewSurface(37, 23, depth);
  ASSERT_TRUE(picture);
  Scribble(picture.get(), key, random);
  SDL_SetColorKey(picture.get(), SDL_TRUE, key);

  struct Case {
    SDL_Rect source, destination;
  };
  const std::vector<Case> cases = {
      {{0, 0, 37, 23}, {0, 0, 80, 60}},    // growing to a whole screen
      {{0, 0, 37, 23}, {3, 5, 13, 7}},     // shrinking
      {{4, 2, 29, 17}, {1, 0, 79, 41}},    // part of the picture, uneven ratio
      {{0, 0, 37, 23}, {10, 10, 37, 11}},  // one side kept, the other squeezed
      {{36, 22, 1, 1}, {0, 0, 80, 60}},    // a single pixel over everything
  };
  for (const Case& c : cases) {
    auto expected = NewSurface(80, 60, depth);
    auto actual = NewSurface(80, 60, depth);
    ASSERT_TRUE(expected && actual);
    std::mt19937 backgroundRandom(7);
    Scribble(expected.get(), key, backgroundRandom);
    SDL_BlitSurface(expected.get(), nullptr, actual.get(), nullptr);
    ASSERT_TRUE(SamePixels(expected.get(), actual.get()));

    SDL_Rect source = c.source, destination = c.destination;
    ASSERT_EQ(SDL_BlitScaled(picture.get(), &source, expected.get(), &destination), 0);
    ASSERT_TRUE(StretchKeyed(picture.get(), c.source, actual.get(), c.destination, key));
    EXPECT_TRUE(SamePixels(expected.get(), actual.get()))
        << "source " << c.source.w << "x" << c.source.h << " onto " << c.destination.w << "x"
        << c.destination.h << " at " << c.destination.x << "," << c.destination.y;
  }
}

TEST(KeyedStretch, RefusesWhatItCannotDrawWholeAndLeavesTheTarget) {
  auto picture = NewSurface(8, 8, 16);
  auto target = NewSurface(20, 20, 16);
  auto otherFormat = NewSurface(20, 20, 32);
  ASSERT_TRUE(picture && target && otherFormat);
  SDL_FillRect(picture.get(), nullptr, 0x1234);
  SDL_FillRect(target.get(), nullptr, 0x0F0F);
  auto untouched = NewSurface(20, 20, 16);
  SDL_BlitSurface(target.get(), nullptr, untouched.get(), nullptr);

  const SDL_Rect whole{0, 0, 8, 8};
  EXPECT_FALSE(StretchKeyed(picture.get(), whole, otherFormat.get(), {0, 0, 16, 16}, 0));
  EXPECT_FALSE(StretchKeyed(picture.get(), whole, target.get(), {10, 10, 16, 16}, 0));
  EXPECT_FALSE(StretchKeyed(picture.get(), whole, target.get(), {-1, 0, 16, 16}, 0));
  EXPECT_FALSE(StretchKeyed(picture.get(), {4, 4, 8, 8}, target.get(), {0, 0, 16, 16}, 0));
  EXPECT_FALSE(StretchKeyed(picture.get(), whole, target.get(), {0, 0, 0, 16}, 0));
  EXPECT_FALSE(StretchKeyed(target.get(), whole, target.get(), {0, 0, 16, 16}, 0));
  EXPECT_TRUE(SamePixels(target.get(), untouched.get()));

  ASSERT_TRUE(StretchKeyed(picture.get(), whole, target.get(), {2, 2, 16, 16}, 0));
  EXPECT_FALSE(SamePixels(target.get(), untouched.get()));
}

}  // namespace
}  // namespace grazefall::platform::software
