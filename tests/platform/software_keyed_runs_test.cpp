// Keyed copies through the found runs must draw exactly what SDL's own
// colour-keyed blit draws, in every depth, for any rectangle of a sheet
// placed anywhere inside the target, and for runs of every length.
#include <SDL.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/software/keyed_runs.h"
#include "tests/support/sdl_surfaces.h"

namespace grazefall::platform::software {
namespace {

using grazefall::testing::NewSurface;
using grazefall::testing::SamePixels;
using grazefall::testing::Scribble;

class RunsInEveryDepth : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(KeyedRuns, RunsInEveryDepth, ::testing::Values(8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bits"; });

TEST_P(RunsInEveryDepth, DrawWhatSdlsKeyedBlitDrawsForAnyRectangle) {
  const int depth = GetParam();
  const uint32_t key = depth == 8 ? 0xE3u : depth == 16 ? 0xF81Fu : 0xFF00FFu;
  std::mt19937 random(static_cast<unsigned>(depth));
  // Mostly key (short runs, as in small sprites) and mostly ink (runs across
  // most of a row, past every size the copy treats apart).
  for (const unsigned keyEvery : {2u, 40u}) {
    auto sheet = NewSurface(97, 31, depth);
    ASSERT_TRUE(sheet);
    Scribble(sheet.get(), key, random, keyEvery);
    SDL_SetColorKey(sheet.get(), SDL_TRUE, key);
    const KeyedRuns runs(sheet.get(), key);

    auto expected = NewSurface(120, 50, depth);
    auto actual = NewSurface(120, 50, depth);
    ASSERT_TRUE(expected && actual);
    Scribble(expected.get(), key, random);
    SDL_BlitSurface(expected.get(), nullptr, actual.get(), nullptr);
    // Rectangles drawn again and again, as a sheet's frames are: a few that
    // share corners but not sizes, then more than the runs keep worked out.
    for (const int poolSize : {6, 400}) {
      std::vector<SDL_Rect> pool;
      while (static_cast<int>(pool.size()) < poolSize) {
        const int w = 1 + static_cast<int>(random() % sheet->w);
        const int h = 1 + static_cast<int>(random() % sheet->h);
        const SDL_Rect rect{static_cast<int>(random() % (sheet->w - w + 1)),
                            static_cast<int>(random() % (sheet->h - h + 1)), w, h};
        pool.push_back(rect);
        pool.push_back({rect.x, rect.y, (w + 1) / 2, h});
        pool.push_back({rect.x, rect.y, w, (h + 1) / 2});
      }
      for (int i = 0; i < 3 * poolSize; ++i) {
        const SDL_Rect source = pool[random() % pool.size()];
        const int w = source.w, h = source.h;
        const int x = static_cast<int>(random() % (expected->w - w + 1));
        const int y = static_cast<int>(random() % (expected->h - h + 1));
        SDL_Rect from = source, to{x, y, w, h};
        ASSERT_EQ(SDL_BlitSurface(sheet.get(), &from, expected.get(), &to), 0);
        runs.draw(sheet.get(), source, actual.get(), x, y);
        ASSERT_TRUE(SamePixels(expected.get(), actual.get()))
            << "one in " << keyEvery << " key: " << w << "x" << h << " from " << source.x << ","
            << source.y << " to " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace grazefall::platform::software
