// A fixed-width bitmap font compiled into the program, for text when no font
// file can be found. Covers the printable ASCII characters; any other byte
// draws as '?'.
#pragma once

#include <cstdint>

namespace grazefall::platform::software {

constexpr int32_t kBuiltinGlyphWidth = 6;
constexpr int32_t kBuiltinGlyphHeight = 12;

// Row `row` (0 = top) of the glyph for `ch`: bit 5 is the leftmost pixel.
uint8_t BuiltinGlyphRow(unsigned char ch, int32_t row);

}  // namespace grazefall::platform::software
