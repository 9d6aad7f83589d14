// The face the saver writes its on-screen texts with.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/font.h"
#include "platform/platform.h"

namespace grazefall {

class TextFont {
 public:
  // Asks the platform for the face by name, height and weight; the handle is
  // null when no font could be made (text then uses the default font).
  TextFont(platform::Platform& system, std::string_view face, int32_t height, int32_t weight);
  const platform::Font* handle() const { return handle_.get(); }

 private:
  std::unique_ptr<platform::Font> handle_;
};

}  // namespace grazefall
