#include "platform/sdl/pixel_lookup.h"

#include <SDL.h>

#include <cstring>

namespace grazefall::platform::sdl {

bool PixelLookup::fit(const SDL_Surface* frame, const SDL_Surface* target) {
  const int frameBytes = frame->format->BytesPerPixel;
  if ((frameBytes != 1 && frameBytes != 2) || target->format->BytesPerPixel != 4) return false;
  const SDL_Palette* palette = frame->format->palette;
  const uint32_t paletteVersion = palette != nullptr ? palette->version : 0;
  if (ready_ && frameFormat_ == frame->format->format && targetFormat_ == target->format->format &&
      palette_ == palette && paletteVersion_ == paletteVersion) {
    return true;
  }
  ready_ = false;
  // One row holding every value, converted by SDL as a blit of the frame
  // would be.
  const int values = frameBytes == 1 ? 256 : 65536;
  SDL_Surface* all = SDL_CreateRGBSurfaceWithFormat(0, values, 1, frame->format->BitsPerPixel,
                                                    frame->format->format);
  SDL_Surface* converted = SDL_CreateRGBSurfaceWithFormat(0, values, 1, 32, target->format->format);
  bool made = all != nullptr && converted != nullptr;
  if (made && palette != nullptr) {
    made = SDL_SetPaletteColors(all->format->palette, palette->colors, 0, palette->ncolors) == 0;
  }
  if (made) {
    for (int value = 0; value < values; ++value) {
      if (frameBytes == 1) {
        static_cast<uint8_t*>(all->pixels)[value] = static_cast<uint8_t>(value);
      } else {
        static_cast<uint16_t*>(all->pixels)[value] = static_cast<uint16_t>(value);
      }
    }
    made = SDL_BlitSurface(all, nullptr, converted, nullptr) == 0;
  }
  if (made) {
    table_.resize(static_cast<size_t>(values));
    std::memcpy(table_.data(), converted->pixels, table_.size() * sizeof(uint32_t));
    frameFormat_ = frame->format->format;
    targetFormat_ = target->format->format;
    palette_ = palette;
    paletteVersion_ = paletteVersion;
    ready_ = true;
  }
  if (all != nullptr) SDL_FreeSurface(all);
  if (converted != nullptr) SDL_FreeSurface(converted);
  return ready_;
}

}  // namespace grazefall::platform::sdl
