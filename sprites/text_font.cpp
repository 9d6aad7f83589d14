#include "sprites/text_font.h"

#include "platform/platform.h"

namespace grazefall {

TextFont::TextFont(platform::Platform& system, std::string_view face, int32_t height,
                   int32_t weight)
    : handle_(system.createFont(face, height, weight)) {}

}  // namespace grazefall
