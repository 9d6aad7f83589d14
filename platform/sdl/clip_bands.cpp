#include "platform/sdl/clip_bands.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace grazefall::platform::sdl {

std::vector<Rect> InBands(std::vector<Rect> rects) {
  std::erase_if(rects, [](const Rect& r) { return r.width() <= 0 || r.height() <= 0; });
  // A frame's changes come in this order already.
  const auto byTopThenLeft = [](const Rect& a, const Rect& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  };
  if (!std::is_sorted(rects.begin(), rects.end(), byTopThenLeft)) {
    std::sort(rects.begin(), rects.end(), byTopThenLeft);
  }
  const auto byLeft = [](const Rect& a, const Rect& b) { return a.left < b.left; };

  std::vector<Rect> bands;
  // The rectangles across the band being made, in order of their left side.
  std::vector<Rect> crossing;
  std::vector<Rect> merged;
  std::vector<std::pair<int32_t, int32_t>> columns;
  std::vector<std::pair<int32_t, int32_t>> columnsAbove;
  size_t bandAbove = 0;  // where the band above starts in `bands`
  int32_t bottomAbove = 0;
  size_t next = 0;
  int32_t top = 0;
  while (next < rects.size() || !crossing.empty()) {
    if (crossing.empty()) top = rects[next].top;
    // The rectangles starting here join those already across.
    const size_t arriving = next;
    while (next < rects.size() && rects[next].top == top) ++next;
    if (next > arriving) {
      merged.clear();
      std::merge(crossing.begin(), crossing.end(), rects.begin() + static_cast<ptrdiff_t>(arriving),
                 rects.begin() + static_cast<ptrdiff_t>(next), std::back_inserter(merged), byLeft);
      crossing.swap(merged);
    }
    // The band ends where one of them ends or another starts.
    int32_t bottom = crossing.front().bottom;
    for (const Rect& r : crossing) bottom = std::min(bottom, r.bottom);
    if (next < rects.size()) bottom = std::min(bottom, rects[next].top);
    // Overlapping and touching columns join.
    columns.clear();
    for (const Rect& r : crossing) {
      if (!columns.empty() && r.left <= columns.back().second) {
        columns.back().second = std::max(columns.back().second, r.right);
      } else {
        columns.emplace_back(r.left, r.right);
      }
    }
    if (bottomAbove == top && columns == columnsAbove) {
      for (size_t b = bandAbove; b < bands.size(); ++b) bands[b].bottom = bottom;
    } else {
      bandAbove = bands.size();
      for (const auto& [left, right] : columns) bands.push_back(Rect{left, top, right, bottom});
      columnsAbove.swap(columns);
    }
    bottomAbove = bottom;
    std::erase_if(crossing, [bottom](const Rect& r) { return r.bottom <= bottom; });
    top = bottom;
  }
  return bands;
}

}  // namespace grazefall::platform::sdl
