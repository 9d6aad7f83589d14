// Which parts of the newest frame each of a few buffers lacks, and which parts
// the picture the compositor shows lacks. Every frame adds what changed in
// it to what each of them lacks; a buffer about to be shown is brought up to
// date by drawing only what it lacks (what changed since that buffer last
// showed), and the compositor is told only where the new picture differs
// from the one it shows (what changed since the last picture shown).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/sdl/shm_frame_writer.h"
#include "platform/types.h"

struct SDL_Surface;

namespace grazefall::platform::sdl {

class FrameUpdates {
 public:
  explicit FrameUpdates(size_t buffers);

  // Every buffer and the shown picture lack the whole frame (a new size, a
  // new layout, a picture that may have been lost).
  void reset();
  // A new frame that differs from the one before only inside `changes`
  // (frame coordinates), or anywhere (nullopt).
  void changed(const std::optional<std::vector<Rect>>& changes);
  // Whether the shown picture lacks anything of the newest frame.
  bool pending() const { return shown_.whole || !shown_.areas.empty(); }

  // Brings buffer `buffer` (`target`, laid out by `writer`) up to the newest
  // `frame`, and puts into `damage` the buffer rectangles where it differs
  // from the picture shown until now; from then on that buffer is the one
  // shown. False (nothing changed) when drawing fails.
  bool show(ShmFrameWriter& writer, SDL_Surface* frame, size_t buffer, SDL_Surface* target,
            std::vector<Rect>* damage);
  // The newest frame, `width` x `height`, is shown as it was drawn, in a
  // buffer of its own: `damage` gets where it differs from the picture shown
  // until now. The buffers here still lack what they lacked.
  void showAsDrawn(int32_t width, int32_t height, std::vector<Rect>* damage);

 private:
  struct Lack {
    bool whole = true;
    std::vector<Rect> areas;
    int64_t pixels = 0;
  };
  void add(Lack& lack, const std::vector<Rect>& areas) const;

  std::vector<Lack> buffers_;
  Lack shown_;
  int64_t framePixels_ = 0;
};

}  // namespace grazefall::platform::sdl
