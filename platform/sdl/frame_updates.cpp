#include "platform/sdl/frame_updates.h"

#include <SDL.h>

namespace grazefall::platform::sdl {
namespace {

// Past this many rectangles a buffer is drawn whole: the list would cost more
// to walk than the pixels it spares. It is damaged whole too, which is what
// a compositor would repaint anyway: wlroots repaints the bounding box of
// more than 20 damaged rectangles. Under sway at 1920x1080, merging long
// lists into disjoint tiles (a few hundred rectangles) or into a dozen
// coarse cells both cost more than this.
constexpr size_t kMostAreas = 256;

}  // namespace

FrameUpdates::FrameUpdates(size_t buffers) : buffers_(buffers) {}

void FrameUpdates::reset() {
  for (Lack& lack : buffers_) lack = Lack{};
  shown_ = Lack{};
}

void FrameUpdates::add(Lack& lack, const std::vector<Rect>& areas) const {
  if (lack.whole) return;
  for (const Rect& area : areas) {
    if (area.width() <= 0 || area.height() <= 0) continue;
    lack.areas.push_back(area);
    lack.pixels += int64_t{area.width()} * area.height();
  }
  // Overlapping rectangles are counted twice: past the frame's size, drawing
  // it whole is cheaper in any case.
  if (lack.areas.size() > kMostAreas || (framePixels_ > 0 && lack.pixels >= framePixels_)) {
    lack = Lack{};
  }
}

void FrameUpdates::changed(const std::optional<std::vector<Rect>>& changes) {
  if (!changes) {
    reset();
    return;
  }
  for (Lack& lack : buffers_) add(lack, *changes);
  add(shown_, *changes);
}

bool FrameUpdates::show(ShmFrameWriter& writer, SDL_Surface* frame, size_t buffer,
                        SDL_Surface* target, std::vector<Rect>* damage) {
  if (buffer >= buffers_.size() || frame == nullptr || !writer.ready()) return false;
  framePixels_ = int64_t{frame->w} * frame->h;
  Lack& lack = buffers_[buffer];
  const bool drawn =
      lack.whole ? writer.drawWhole(frame, target) : writer.draw(frame, lack.areas, target);
  if (!drawn) {
    lack = Lack{};
    return false;
  }
  damage->clear();
  if (shown_.whole) {
    damage->push_back(Rect{0, 0, target->w, target->h});
  } else {
    for (const Rect& area : shown_.areas) {
      const Rect on = writer.shownArea(area);
      if (on.width() > 0) damage->push_back(on);
    }
  }
  lack = Lack{false, {}, 0};
  shown_ = Lack{false, {}, 0};
  return true;
}

void FrameUpdates::showAsDrawn(int32_t width, int32_t height, std::vector<Rect>* damage) {
  framePixels_ = int64_t{width} * height;
  // The changes come cut to the frame, and the frame is the buffer.
  if (shown_.whole) {
    *damage = {Rect{0, 0, width, height}};
  } else {
    *damage = shown_.areas;
  }
  shown_ = Lack{false, {}, 0};
}

}  // namespace grazefall::platform::sdl
