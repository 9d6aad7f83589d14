// Where one presented frame differs from the frame presented before it, from
// what the two frames' pixel memories know of their clearing: each is its
// clearing colour everywhere except inside the rectangles drawn since its
// last fill, so two frames cleared to the same colour differ only inside the
// union of both frames' drawn rectangles. The union is returned as a few
// rectangles on a grid of square tiles, each pixel in at most one of them.
// A frame whose drawing is not known (text, a picture, a write of unknown
// extent), a change of size or of clearing colour, or changes covering much
// of the frame answer "the whole frame".
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/software/software_surface.h"
#include "platform/types.h"

namespace grazefall::platform::software {

class FrameChanges {
 public:
  // Side of the square tiles the changed area is rounded out to. Smaller
  // tiles leave less unchanged area to go along (at 3840x2160 a Halloween
  // frame's 16-pixel tiles cover 1.5 times the area of 8-pixel ones), but
  // cost more to mark and walk each frame: 4-pixel ones cost more than they
  // saved there.
  static constexpr int32_t kTileSide = 8;

  // What changed from the frame last passed here to `frame`, which is now
  // presented; nullopt when the whole frame must be shown.
  std::optional<std::vector<Rect>> next(const SurfacePixels& frame);
  // The frame last passed here was not shown: the next one is shown whole.
  void forget() { previousKnown_ = false; }

 private:
  // Whether the frame passed last had its drawing known and marked in
  // `previousTiles_`, the tiles it drew in.
  bool previousKnown_ = false;
  uint32_t previousClear_ = 0;
  int32_t previousWidth_ = 0;
  int32_t previousHeight_ = 0;
  std::vector<uint64_t> previousTiles_;
  std::vector<uint64_t> tiles_;
};

// The tiles of a `width` x `height` frame that `areas` touch, as rectangles cut
// to the frame: runs of touched tiles along each row of tiles, joined with the
// rows below while they span the same columns. The rectangles do not overlap.
std::vector<Rect> TileCover(const std::vector<Rect>& first, const std::vector<Rect>& second,
                            int32_t width, int32_t height, int32_t tileSide,
                            std::vector<uint64_t>& scratch);

}  // namespace grazefall::platform::software
