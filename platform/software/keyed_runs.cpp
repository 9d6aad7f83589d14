#include "platform/software/keyed_runs.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/software/pixel_format.h"

namespace grazefall::platform::software {
namespace {

// Copies `n` bytes between memories that do not overlap. Sprite rows are a
// few dozen bytes: fixed-size moves that may overlap each other inside the
// destination are far quicker for them than a call to memcpy.
inline void CopyBytes(uint8_t* to, const uint8_t* from, size_t n) {
  if (n >= 16) {
    if (n > 64) {
      std::memcpy(to, from, n);
      return;
    }
    for (size_t i = 0; i + 16 < n; i += 16) std::memcpy(to + i, from + i, 16);
    std::memcpy(to + n - 16, from + n - 16, 16);
  } else if (n >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else if (n >= 2) {
    std::memcpy(to, from, 2);
    std::memcpy(to + n - 2, from + n - 2, 2);
  } else if (n == 1) {
    to[0] = from[0];
  }
}

}  // namespace

KeyedRuns::KeyedRuns(const SDL_Surface* picture, uint32_t key) {
  const int bytes = picture->format->BytesPerPixel;
  rowStart_.reserve(static_cast<size_t>(picture->h) + 1);
  for (int32_t y = 0; y < picture->h; ++y) {
    rowStart_.push_back(static_cast<uint32_t>(runs_.size()));
    const auto* row =
        static_cast<const uint8_t*>(picture->pixels) + static_cast<size_t>(y) * picture->pitch;
    int32_t x = 0;
    while (x < picture->w) {
      while (x < picture->w && PixelValueAt(row + static_cast<size_t>(x) * bytes, bytes) == key)
        ++x;
      if (x == picture->w) break;
      const int32_t left = x;
      while (x < picture->w && PixelValueAt(row + static_cast<size_t>(x) * bytes, bytes) != key)
        ++x;
      runs_.push_back({left, x});
    }
  }
  rowStart_.push_back(static_cast<uint32_t>(runs_.size()));
}

const KeyedRuns::Cut& KeyedRuns::cutOf(const SDL_Surface* picture, const SDL_Rect& source) const {
  const auto same = [&source](const Cut& cut) {
    return cut.x == source.x && cut.y == source.y && cut.w == source.w && cut.h == source.h;
  };
  // The same frame is often drawn many times in a row (a herd, the drops).
  if (lastCut_ < cuts_.size() && same(cuts_[lastCut_])) return cuts_[lastCut_];
  for (size_t i = 0; i < cuts_.size(); ++i) {
    if (same(cuts_[i])) {
      lastCut_ = i;
      return cuts_[i];
    }
  }
  if (cuts_.size() >= kMaxCuts) cuts_.clear();
  Cut& cut = cuts_.emplace_back(Cut{source.x, source.y, source.w, source.h, {}, {}});
  lastCut_ = cuts_.size() - 1;
  const size_t bytes = picture->format->BytesPerPixel;
  const int32_t sourceRight = source.x + source.w;
  for (int32_t row = source.y; row < source.y + source.h; ++row) {
    const Run* run = runs_.data() + rowStart_[row];
    const Run* end = runs_.data() + rowStart_[row + 1];
    // Rows of a sheet hold the runs of every frame side by side.
    run = std::partition_point(run, end, [&](const Run& r) { return r.right <= source.x; });
    for (; run != end && run->left < sourceRight; ++run) {
      const int32_t left = std::max(run->left, source.x);
      const int32_t right = std::min(run->right, sourceRight);
      cut.spans.push_back(
          {static_cast<uint32_t>(row - source.y),
           static_cast<uint32_t>(static_cast<size_t>(row) * picture->pitch + left * bytes),
           static_cast<uint32_t>((left - source.x) * bytes),
           static_cast<uint32_t>((right - left) * bytes)});
      const Rect inked{left - source.x, row - source.y, right - source.x, row - source.y + 1};
      if (cut.spans.size() == 1) {
        cut.inked = inked;
      } else {
        cut.inked = Rect{std::min(cut.inked.left, inked.left), cut.inked.top,
                         std::max(cut.inked.right, inked.right), inked.bottom};
      }
    }
  }
  return cut;
}

Rect KeyedRuns::draw(const SDL_Surface* picture, const SDL_Rect& source, SDL_Surface* to, int32_t x,
                     int32_t y) const {
  const auto* in = static_cast<const uint8_t*>(picture->pixels);
  auto* out = static_cast<uint8_t*>(to->pixels) + static_cast<size_t>(y) * to->pitch +
              static_cast<size_t>(x) * picture->format->BytesPerPixel;
  const Cut& cut = cutOf(picture, source);
  for (const Span& span : cut.spans) {
    CopyBytes(out + static_cast<size_t>(span.row) * to->pitch + span.targetByte,
              in + span.sourceByte, span.bytes);
  }
  if (cut.spans.empty()) return Rect{};
  return Rect{x + cut.inked.left, y + cut.inked.top, x + cut.inked.right, y + cut.inked.bottom};
}

}  // namespace grazefall::platform::software
