// The picture files packed into the program at build time, as the build's
// generated table lists them.
#pragma once

#include <cstdint>
#include <span>

namespace grazefall::resources {

struct EmbeddedFile {
  int32_t id;  // the bitmap's resource id, or the icon's size in pixels
  const uint8_t* begin;
  const uint8_t* end;
};

// Every embedded bitmap resource, in ascending id order.
std::span<const EmbeddedFile> EmbeddedBitmaps();
// The icon's pictures (a .bmp whose pixel (0, 0) is the transparent colour),
// in ascending size.
std::span<const EmbeddedFile> EmbeddedIcons();

}  // namespace grazefall::resources
