#include "platform/sdl/sdl_cursor.h"

#include <SDL.h>

namespace grazefall::platform::sdl {

Point SdlCursor::position() {
  return windows_.pointerPosition();
}

void SdlCursor::hideImage() {
  if (windows_.isOpen()) SDL_ShowCursor(SDL_DISABLE);
}

int32_t SdlCursor::show(bool show) {
  displayCount_ += show ? 1 : -1;
  if (windows_.isOpen()) SDL_ShowCursor(displayCount_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return displayCount_;
}

}  // namespace grazefall::platform::sdl
