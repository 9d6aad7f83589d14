// The keyed stretch must draw exactly what SDL's own scaled colour-keyed blit
// draws, in every depth and for growing, shrinking and uneven ratios; and it
// refuses what it cannot draw whole, leaving the target untouched.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/software/keyed_stretch.h"

namespace grazefall::platform::software {
namespace {

uint32_t FormatOf(int depth) {
  switch (depth) {
    case 8:
      return SDL_PIXELFORMAT_RGB332;
    case 16:
      return SDL_PIXELFORMAT_RGB565;
    case 24:
      return SDL_PIXELFORMAT_BGR24;
    default:
      return SDL_PIXELFORMAT_RGB888;
  }
}

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

SurfacePtr NewSurface(int w, int h, int depth) {
  return SurfacePtr(SDL_CreateRGBSurfaceWithFormat(0, w, h, depth, FormatOf(depth)));
}

// Random pixel values, about a third of them the key; the unused top byte of
// a 32-bit word stays 0 as everywhere else in the program.
void Scribble(SDL_Surface* s, uint32_t key, std::mt19937& random) {
  const int bytes = s->format->BytesPerPixel;
  const uint32_t mask = bytes == 4 ? 0x00FFFFFFu : (1u << (8 * bytes)) - 1u;
  for (int y = 0; y < s->h; ++y) {
    auto* row = static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
    for (int x = 0; x < s->w; ++x) {
      const uint32_t value = random() % 3 == 0 ? key : random() & mask;
      std::memcpy(row + static_cast<size_t>(x) * bytes, &value, bytes);
    }
  }
}

bool SamePixels(const SDL_Surface* a, const SDL_Surface* b) {
  const size_t rowBytes = static_cast<size_t>(a->w) * a->format->BytesPerPixel;
  for (int y = 0; y < a->h; ++y) {
    if (std::memcmp(static_cast<const uint8_t*>(a->pixels) + static_cast<size_t>(y) * a->pitch,
                    static_cast<const uint8_t*>(b->pixels) + static_cast<size_t>(y) * b->pitch,
                    rowBytes) != 0) {
      return false;
    }
  }
  return true;
}

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
