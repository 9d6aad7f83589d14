// A picture held in an off-screen surface, from which sprites take their
// frames; also used as a plain picture for whole-picture blits. Its colour key
// is the colour of its own top-left pixel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/surface.h"
#include "runtime/bitmap_surfaces.h"

namespace grazefall {

struct Display;

class SpriteSheet {
 public:
  // Loads bitmap resource `resourceId` on the display's driver object.
  SpriteSheet(const Display& display, int32_t resourceId);
  // Loads a bitmap resource of that name, else the .bmp file of that path.
  SpriteSheet(const Display& display, const std::string& name);
  // Takes a surface made elsewhere (tests, tools), keying it by pixel (0, 0).
  explicit SpriteSheet(std::unique_ptr<platform::Surface> surface);

  SpriteSheet(const SpriteSheet&) = delete;
  SpriteSheet& operator=(const SpriteSheet&) = delete;

  // Null when the picture could not be loaded; the sheet then draws nothing.
  platform::Surface* surface() const { return surface_.get(); }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

 private:
  void load(const Display& display, const BitmapName& name);

  std::unique_ptr<platform::Surface> surface_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace grazefall
