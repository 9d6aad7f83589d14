// The preview paint: the small title picture copied into the preview window,
// unscaled at its top-left corner, once per tick.
#pragma once

#include <cstdint>

namespace grazefall {

// Loads bitmap 134 on the first call (once, kept for the process) and paints
// it into the saver window. Returns 0.
int32_t DrawPreview();

}  // namespace grazefall
