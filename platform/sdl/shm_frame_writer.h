// Draws frames into 32-bit XRGB pixel buffers (the compositor's shared-memory
// buffers) exactly as FramePresenter draws them into a window: converted from
// the frame's own pixel format as SDL's blit converts, scaled
// nearest-neighbour to fit with the aspect kept, black bars around. Parts of a
// frame can be drawn alone, and the buffer rectangles they land on are told,
// so that a buffer is brought up to date by what changed and the compositor
// is told only where.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sdl/viewport_map.h"
#include "platform/types.h"

struct SDL_Surface;

namespace grazefall::platform::sdl {

class ShmFrameWriter {
 public:
  ShmFrameWriter() = default;
  ~ShmFrameWriter();
  ShmFrameWriter(const ShmFrameWriter&) = delete;
  ShmFrameWriter& operator=(const ShmFrameWriter&) = delete;

  // Lays frames like `frame` out in `width` x `height` buffers. True when the
  // layout is not the one of the call before (every buffer is then stale);
  // false also when nothing could be laid out (see ready()).
  bool fit(const SDL_Surface* frame, int32_t width, int32_t height);
  bool ready() const { return map_.viewport.width() > 0 && map_.viewport.height() > 0; }
  // Where the frame lands in the buffer.
  const Rect& viewport() const { return map_.viewport; }

  // The buffer rectangle showing the frame rectangle `area` (cut to the
  // frame); empty when it shows on no buffer pixel.
  Rect shownArea(const Rect& area) const;

  // Draws the frame's `areas` (frame coordinates, cut to the frame; they may
  // overlap) into `target`, a buffer of the laid-out size in
  // SDL_PIXELFORMAT_RGB888 (XRGB8888). False when SDL cannot convert.
  bool draw(SDL_Surface* frame, const std::vector<Rect>& areas, SDL_Surface* target);
  // Draws the whole frame and blackens the bars.
  bool drawWhole(SDL_Surface* frame, SDL_Surface* target);

 private:
  // Frames not already XRGB8888 are converted here first, part by part.
  SDL_Surface* staging_ = nullptr;
  uint32_t frameFormat_ = 0;
  int32_t frameWidth_ = 0;
  int32_t frameHeight_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  ViewportMap map_;
};

}  // namespace grazefall::platform::sdl
