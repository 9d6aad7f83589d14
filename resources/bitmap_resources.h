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

// The id of the program's icon group (a cow's head).
constexpr int32_t kIconGroupId = 104;

// The icon at `size` x `size` pixels (16, 32 or 48) as .bmp bytes whose pixel
// (0, 0) holds the transparent colour; empty for any other size.
std::span<const uint8_t> FindIconBitmap(int32_t size);

// The sizes FindIconBitmap has, ascending.
std::vector<int32_t> IconSizes();

}  // namespace grazefall::resources
