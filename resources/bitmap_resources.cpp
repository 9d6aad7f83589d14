#include "resources/bitmap_resources.h"

namespace grazefall::resources {

// Placeholder until the art is generated and embedded: no bitmaps yet.
std::span<const uint8_t> FindBitmap(int32_t) { return {}; }

std::vector<int32_t> BitmapIds() { return {}; }

}  // namespace grazefall::resources
