// A set of rectangles as the X protocol's YX-banded clip list: bands of one
// height each, in order of y and apart; every band's rectangles in order of x
// and apart. A server takes a list so ordered as it is. Any other list it
// sorts and merges into bands itself, which for the thousands of rectangles
// of a busy frame costs it a tenth of its time.
#pragma once

#include <vector>

#include "platform/types.h"

namespace grazefall::platform::sdl {

// The pixels of `rects`, which may overlap, once each. Consecutive bands with
// the same columns are one band, so a column of changes stays one rectangle.
std::vector<Rect> InBands(std::vector<Rect> rects);

}  // namespace grazefall::platform::sdl
