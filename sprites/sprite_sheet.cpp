#include "sprites/sprite_sheet.h"

#include <utility>

#include "runtime/display.h"

namespace grazefall {

SpriteSheet::SpriteSheet(const Display& display, int32_t resourceId) {
  load(display, BitmapName{resourceId});
}

SpriteSheet::SpriteSheet(const Display& display, const std::string& name) {
  load(display, BitmapName{name});
}

SpriteSheet::SpriteSheet(std::unique_ptr<platform::Surface> surface)
    : surface_(std::move(surface)) {
  if (!surface_) return;
  SetColorKeyFromColor(surface_.get(), platform::kClrInvalid);
  width_ = surface_->width();
  height_ = surface_->height();
}

void SpriteSheet::load(const Display& display, const BitmapName& name) {
  // A display never opened has no platform to load pictures from.
  if (display.system == nullptr) return;
  surface_ = CreateSurfaceFromBitmap(*display.system, display.directDraw.get(), name, 0, 0);
  // Without a surface the sheet keeps width and height 0 and draws nothing.
  if (!surface_) return;
  // Every picture is transparent where it has the colour of its own top-left
  // pixel, as that colour came out in the display's format.
  SetColorKeyFromColor(surface_.get(), platform::kClrInvalid);
  width_ = surface_->width();
  height_ = surface_->height();
}

}  // namespace grazefall
