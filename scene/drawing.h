// The five drawing helpers for everything that is not a sprite: clearing a
// surface, whole and partial picture copies, stretched copies, and text. Each
// returns 0 whatever happened; a missing picture or surface draws nothing.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/font.h"
#include "platform/surface.h"
#include "platform/types.h"

namespace grazefall {

class SpriteSheet;

int32_t FillSurface(platform::Surface* surface, uint32_t color);
int32_t BlitPicture(const SpriteSheet* picture, platform::Surface* target, int32_t x, int32_t y,
                    int32_t keyed);
int32_t BlitPictureRect(const SpriteSheet* picture, platform::Surface* target, int32_t srcX,
                        int32_t srcY, int32_t width, int32_t height, int32_t x, int32_t y,
                        int32_t keyed);
// Width and height both 0 mean the picture's own size.
int32_t StretchPicture(const SpriteSheet* picture, platform::Surface* target, int32_t x, int32_t y,
                       int32_t width, int32_t height, int32_t keyed);
int32_t DrawTextOnSurface(platform::Surface* target, std::string_view text, int32_t x, int32_t y,
                          const platform::Font* font, platform::ColorRef color,
                          int32_t transparent);

}  // namespace grazefall
