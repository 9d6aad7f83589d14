#include "sprites/text_font.h"

#include "platform/platform.h"

namespace grazefall {

TextFont::TextFont(std::string_view face, int32_t height, int32_t weight) {
  if (platform::HasPlatform()) {
    handle_ = platform::CurrentPlatform().createFont(face, height, weight);
  }
}

}  // namespace grazefall
