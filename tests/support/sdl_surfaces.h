// SDL surfaces in the four pixel formats the program draws in, filled with
// random pixel values, for tests that compare a drawing routine with SDL's.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>

namespace grazefall::testing {

inline uint32_t SdlFormatOf(int depth) {
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

inline SurfacePtr NewSurface(int w, int h, int depth) {
  return SurfacePtr(SDL_CreateRGBSurfaceWithFormat(0, w, h, depth, SdlFormatOf(depth)));
}

// Random pixel values, one in `keyEvery` of them the key; the unused top byte
// of a 32-bit word stays 0 as everywhere else in the program.
inline void Scribble(SDL_Surface* s, uint32_t key, std::mt19937& random, unsigned keyEvery = 3) {
  const int bytes = s->format->BytesPerPixel;
  const uint32_t mask = bytes == 4 ? 0x00FFFFFFu : (1u << (8 * bytes)) - 1u;
  for (int y = 0; y < s->h; ++y) {
    auto* row = static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
    for (int x = 0; x < s->w; ++x) {
      const uint32_t value = random() % keyEvery == 0 ? key : random() & mask;
      std::memcpy(row + static_cast<size_t>(x) * bytes, &value, bytes);
    }
  }
}

// The first row where two surfaces of one format differ, -1 when none does,
// and 0 when their sizes differ.
inline int FirstDifferentRow(const SDL_Surface* a, const SDL_Surface* b) {
  if (a->w != b->w || a->h != b->h) return 0;
  const size_t rowBytes = static_cast<size_t>(a->w) * a->format->BytesPerPixel;
  for (int y = 0; y < a->h; ++y) {
    if (std::memcmp(static_cast<const uint8_t*>(a->pixels) + static_cast<size_t>(y) * a->pitch,
                    static_cast<const uint8_t*>(b->pixels) + static_cast<size_t>(y) * b->pitch,
                    rowBytes) != 0) {
      return y;
    }
  }
  return -1;
}

inline bool SamePixels(const SDL_Surface* a, const SDL_Surface* b) {
  return FirstDifferentRow(a, b) == -1;
}

}  // namespace grazefall::testing
