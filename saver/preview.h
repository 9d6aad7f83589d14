// The preview paint: the small title picture copied into the preview window,
// unscaled at its top-left corner, once per tick.
#pragma once

#include <cstdint>

#include "saver/saver_proc.h"

namespace grazefall {

// Loads bitmap 134 on the first call (once, kept for the saver window) and
// paints it into the saver window.
void DrawPreview(SaverLifecycle& saver);

}  // namespace grazefall
