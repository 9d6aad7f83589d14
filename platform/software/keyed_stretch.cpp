#include "platform/software/keyed_stretch.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

namespace grazefall::platform::software {
namespace {

bool Inside(const SDL_Rect& r, const SDL_Surface* s) {
  return r.w > 0 && r.h > 0 && r.x >= 0 && r.y >= 0 && r.x <= s->w - r.w && r.y <= s->h - r.h;
}

// One pixel of `Bytes` bytes read as its value; the value of a 24-bit pixel
// is its three bytes, lowest first.
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

// `length` pixels of one value from `out` on. The run is filled through a
// pointer of the pixel's own width, so the compiler may write it a vector at
// a time: a byte pointer could alias the run itself, which kept the loop to
// one pixel per iteration, reloading the length each time.
template <int Bytes>
void StoreRun(uint8_t* out, int32_t length, uint32_t value) {
  if constexpr (Bytes == 3) {
    for (int32_t i = 0; i < length; ++i, out += 3) {
      out[0] = static_cast<uint8_t>(value);
      out[1] = static_cast<uint8_t>(value >> 8);
      out[2] = static_cast<uint8_t>(value >> 16);
    }
  } else {
    using Word =
        std::conditional_t<Bytes == 1, uint8_t, std::conditional_t<Bytes == 2, uint16_t, uint32_t>>;
    // A 32-bit word's top byte is unused by the format and written as 0.
    if constexpr (Bytes == 4) value &= 0x00FFFFFFu;
    std::fill_n(reinterpret_cast<Word*>(out), length, static_cast<Word>(value));
  }
}

// A stretch of destination columns that all sample one source column.
struct ColumnRun {
  int32_t sourceX;
  int32_t start;
  int32_t length;
};

// The destination columns grouped by the source column they sample; when a
// picture is enlarged, each source pixel is then read and compared once per
// row instead of once per destination pixel.
std::vector<ColumnRun> ColumnRuns(int32_t sourceWidth, int32_t destinationWidth) {
  const uint64_t step = (uint64_t{static_cast<uint32_t>(sourceWidth)} << 16) /
                        static_cast<uint32_t>(destinationWidth);
  std::vector<ColumnRun> runs;
  uint64_t x = step / 2;
  for (int32_t dx = 0; dx < destinationWidth; ++dx, x += step) {
    const auto sourceX = static_cast<int32_t>(x >> 16);
    if (runs.empty() || runs.back().sourceX != sourceX) {
      runs.push_back({sourceX, dx, 1});
    } else {
      ++runs.back().length;
    }
  }
  return runs;
}

template <int Bytes>
void Stretch(const SDL_Surface* from, const SDL_Rect& source, SDL_Surface* to,
             const SDL_Rect& destination, uint32_t key) {
  const std::vector<ColumnRun> runs = ColumnRuns(source.w, destination.w);
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
    for (const ColumnRun& run : runs) {
      const uint32_t value = Load<Bytes>(sourceRow + static_cast<size_t>(run.sourceX) * Bytes);
      if (value == key) continue;
      StoreRun<Bytes>(row + static_cast<size_t>(run.start) * Bytes, run.length, value);
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
