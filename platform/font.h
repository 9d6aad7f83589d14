// A text face created by name, height and weight. Backends subclass it; the
// core only passes it back to Surface::drawText.
#pragma once

namespace grazefall::platform {

class Font {
 public:
  virtual ~Font() = default;
};

}  // namespace grazefall::platform
