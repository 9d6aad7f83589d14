// The background picture behind everything else in a frame.
#include "scene/drawing.h"
#include "scene/scene.h"

namespace grazefall {

namespace {
constexpr int32_t kStretchedBackground = 2;
}  // namespace

void DrawBackground(SceneContext& context) {
  const SpriteSheet* picture = context.scene.background.get();
  if (picture == nullptr || picture->surface() == nullptr) return;
  Display& display = context.display;
  if (context.options.backgroundMode == kStretchedBackground) {
    StretchPicture(picture, display.backBuffer.get(), 0, 0, display.width, display.height, 0);
    return;
  }
  // Each half is rounded on its own, so an odd picture on an even screen sits
  // one pixel further right (or lower) than (W - w) / 2 would put it.
  BlitPicture(picture, display.backBuffer.get(), display.width / 2 - picture->width() / 2,
              display.height / 2 - picture->height() / 2, 0);
}

}  // namespace grazefall
