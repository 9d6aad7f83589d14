#include "platform/software/keyed_stretch.h"

#include <SDL.h>

#include <cstring>

namespace grazefall::platform::software {
namespace {

bool Inside(const SDL_Rect& r, const SDL_Surface* s) {
  return r.w > 0 && r.h > 0 && r.x >= 0 && r.y >= 0 && r.x <= s->w - r.w && r.y <= s->h - r.h;
}

// One pixel of `Bytes` bytes read as its value and written back; the value
// of a 24-bit pixel is its three bytes, lowest first.
template <int Bytes>
uint32_t Load(const uint8_t* p) {
  if constexpr (Bytes == 1) {
    return p[0];
  } else if constexpr (Bytes == 3) {
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
  } else {
    uint32_t v = 0;
    std::memcpy(&v, p, Bytes);
    return v;
  }
}

template <int Bytes>
void Store(uint8_t* p, uint32_t v) {
  if constexpr (Bytes == 3) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
  } else if constexpr (Bytes == 4) {
    // The word's top byte is unused by the format and written as 0.
    v &= 0x00FFFFFFu;
    std::memcpy(p, &v, 4);
  } else {
    std::memcpy(p, &v, Bytes);
  }
}

template <int Bytes>
void Stretch(const SDL_Surface* from, const SDL_Rect& source, SDL_Surface* to,
             const SDL_Rect& destination, uint32_t key) {
  const uint64_t stepX =
      (uint64_t{static_cast<uint32_t>(source.w)} << 16) / static_cast<uint32_t>(destination.w);
  const uint64_t stepY =
      (uint64_t{static_cast<uint32_t>(source.h)} << 16) / static_cast<uint32_t>(destination.h);
  const auto* sourceBase = static_cast<const uint8_t*>(from->pixels) +
                           static_cast<size_t>(source.y) * from->pitch +
                           static_cast<size_t>(source.x) * Bytes;
  auto* row = static_cast<uint8_t*>(to->pixels) + static_cast<size_t>(destination.y) * to->pitch +
              static_cast<size_t>(destination.x) * Bytes;
  uint64_t y = stepY / 2;
  for (int dy = 0; dy < destination.h; ++dy, y += stepY, row += to->pitch) {
    const uint8_t* sourceRow = sourceBase + static_cast<size_t>(y >> 16) * from->pitch;
    uint64_t x = stepX / 2;
    uint8_t* out = row;
    for (int dx = 0; dx < destination.w; ++dx, x += stepX, out += Bytes) {
      const uint32_t value = Load<Bytes>(sourceRow + static_cast<size_t>(x >> 16) * Bytes);
      if (value != key) Store<Bytes>(out, value);
    }
  }
}

}  // namespace

bool StretchKeyed(SDL_Surface* from, const SDL_Rect& source, SDL_Surface* to,
                  const SDL_Rect& destination, uint32_t key) {
  if (from == nullptr || to == nullptr || from == to ||
      from->format->format != to->format->format || !Inside(source, from) ||
      !Inside(destination, to) || SDL_MUSTLOCK(from) || SDL_MUSTLOCK(to)) {
    return false;
  }
  switch (to->format->BytesPerPixel) {
    case 1:
      Stretch<1>(from, source, to, destination, key);
      return true;
    case 2:
      Stretch<2>(from, source, to, destination, key);
      return true;
    case 3:
      Stretch<3>(from, source, to, destination, key);
      return true;
    case 4:
      Stretch<4>(from, source, to, destination, key);
      return true;
    default:
      return false;
  }
}

}  // namespace grazefall::platform::software
