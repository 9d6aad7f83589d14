// Every pixel value of a frame's format (8 or 16 bits a pixel) as a 32-bit
// window pixel, worked out once by SDL's own conversion: converting a frame
// is then one table look-up a pixel, fused with the copy or the scaling, and
// gives exactly the pixels SDL's blit would.
#pragma once

#include <cstdint>
#include <vector>

struct SDL_Surface;
struct SDL_Palette;

namespace grazefall::platform::sdl {

class PixelLookup {
 public:
  // Makes the table fit `frame` shown in `target`; false (and the table
  // unused) when the frame is not 8 or 16 bits a pixel, the target not 32,
  // or SDL cannot convert. Rebuilt only when a format or the frame's palette
  // has changed.
  bool fit(const SDL_Surface* frame, const SDL_Surface* target);
  uint32_t operator[](uint32_t value) const { return table_[value]; }

 private:
  std::vector<uint32_t> table_;
  uint32_t frameFormat_ = 0;
  uint32_t targetFormat_ = 0;
  const SDL_Palette* palette_ = nullptr;
  uint32_t paletteVersion_ = 0;
  bool ready_ = false;
};

}  // namespace grazefall::platform::sdl
