#include "scene/drawing.h"

#include "sprites/blit_rects.h"
#include "sprites/sprite_sheet.h"

namespace grazefall {
namespace {

// The whole picture as a source rectangle.
platform::Rect WholeOf(const platform::Surface& surface) {
  return platform::Rect{0, 0, surface.width(), surface.height()};
}

}  // namespace

int32_t FillSurface(platform::Surface* surface, uint32_t color) {
  if (surface != nullptr) surface->fill(color);
  return 0;
}

int32_t BlitPicture(const SpriteSheet* picture, platform::Surface* target, int32_t x, int32_t y,
                    int32_t keyed) {
  if (picture == nullptr || picture->surface() == nullptr || target == nullptr) return 0;
  platform::Rect destination;
  if (!RectFromSize(x, y, picture->width(), picture->height(), &destination)) return 0;
  platform::Surface& source = *picture->surface();
  CheckedBlit(*target, destination, source, WholeOf(source), keyed != 0);
  return 0;
}

int32_t BlitPictureRect(const SpriteSheet* picture, platform::Surface* target, int32_t srcX,
                        int32_t srcY, int32_t width, int32_t height, int32_t x, int32_t y,
                        int32_t keyed) {
  if (picture == nullptr || picture->surface() == nullptr || target == nullptr) return 0;
  platform::Rect source;
  platform::Rect destination;
  if (!RectFromSize(srcX, srcY, width, height, &source)) return 0;
  if (!RectFromSize(x, y, width, height, &destination)) return 0;
  CheckedBlit(*target, destination, *picture->surface(), source, keyed != 0);
  return 0;
}

int32_t StretchPicture(const SpriteSheet* picture, platform::Surface* target, int32_t x, int32_t y,
                       int32_t width, int32_t height, int32_t keyed) {
  if (picture == nullptr || picture->surface() == nullptr || target == nullptr) return 0;
  // Only both sizes 0 select the picture's own size; one 0 alone is an empty
  // destination and draws nothing.
  if (width == 0 && height == 0) {
    width = picture->width();
    height = picture->height();
  }
  platform::Rect destination;
  if (!RectFromSize(x, y, width, height, &destination)) return 0;
  platform::Surface& source = *picture->surface();
  CheckedBlit(*target, destination, source, WholeOf(source), keyed != 0);
  return 0;
}

int32_t DrawTextOnSurface(platform::Surface* target, std::string_view text, int32_t x, int32_t y,
                          const platform::Font* font, platform::ColorRef color,
                          int32_t transparent) {
  if (target == nullptr) return 0;
  // The text ends at its first NUL, as a C string would.
  const std::string_view line = text.substr(0, text.find('\0'));
  target->drawText(x, y, line, font, color, transparent == 1);
  return 0;
}

}  // namespace grazefall
