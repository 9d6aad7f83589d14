// The program's pictures, compiled into it as .bmp images and addressed by
// their numeric resource id.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace grazefall::resources {

// The .bmp bytes of bitmap resource `id`; empty when there is none.
std::span<const uint8_t> FindBitmap(int32_t id);

// Every id that has a bitmap, ascending.
std::vector<int32_t> BitmapIds();

}  // namespace grazefall::resources
