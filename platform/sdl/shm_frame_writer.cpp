#include "platform/sdl/shm_frame_writer.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/sdl/viewport_map.h"

namespace grazefall::platform::sdl {
namespace {

uint32_t* RowOf(SDL_Surface* surface, int32_t y) {
  return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                     static_cast<size_t>(y) * surface->pitch);
}

const uint32_t* RowOf(const SDL_Surface* surface, int32_t y) {
  return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                           static_cast<size_t>(y) * surface->pitch);
}

}  // namespace

ShmFrameWriter::~ShmFrameWriter() {
  if (staging_ != nullptr) SDL_FreeSurface(staging_);
}

bool ShmFrameWriter::fit(const SDL_Surface* frame, int32_t width, int32_t height) {
  if (frame == nullptr) {
    map_.viewport = Rect{};
    return false;
  }
  if (frame->format->format == frameFormat_ && frame->w == frameWidth_ &&
      frame->h == frameHeight_ && width == width_ && height == height_ && ready()) {
    return false;
  }
  frameFormat_ = frame->format->format;
  frameWidth_ = frame->w;
  frameHeight_ = frame->h;
  width_ = width;
  height_ = height;
  if (staging_ != nullptr) SDL_FreeSurface(staging_);
  staging_ = nullptr;
  if (frameFormat_ != SDL_PIXELFORMAT_RGB888) {
    staging_ = SDL_CreateRGBSurfaceWithFormat(0, frame->w, frame->h, 32, SDL_PIXELFORMAT_RGB888);
    if (staging_ == nullptr) {
      map_.viewport = Rect{};
      return false;
    }
  }
  map_.fit(frame->w, frame->h, width, height);
  return ready();
}

Rect ShmFrameWriter::shownArea(const Rect& area) const {
  const Rect cut{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, frameWidth_),
                 std::min(area.bottom, frameHeight_)};
  if (!ready() || cut.width() <= 0 || cut.height() <= 0) return Rect{};
  const Rect shown = map_.shownOf(cut);
  if (shown.width() <= 0) return Rect{};
  const Rect& viewport = map_.viewport;
  return Rect{viewport.left + shown.left, viewport.top + shown.top, viewport.left + shown.right,
              viewport.top + shown.bottom};
}

bool ShmFrameWriter::draw(SDL_Surface* frame, const std::vector<Rect>& areas, SDL_Surface* target) {
  if (!ready() || frame == nullptr || target == nullptr || target->w != width_ ||
      target->h != height_ || frame->w != frameWidth_ || frame->h != frameHeight_ ||
      target->format->BytesPerPixel != 4) {
    return false;
  }
  const SDL_Surface* source = frame;
  if (staging_ != nullptr) {
    for (const Rect& area : areas) {
      SDL_Rect from{area.left, area.top, area.width(), area.height()};
      SDL_Rect to = from;
      if (from.w > 0 && from.h > 0 && SDL_BlitSurface(frame, &from, staging_, &to) != 0) {
        return false;
      }
    }
    source = staging_;
  }
  const bool scaled =
      map_.viewport.width() != frameWidth_ || map_.viewport.height() != frameHeight_;
  for (const Rect& area : areas) {
    const Rect shown = shownArea(area);
    if (shown.width() <= 0) continue;
    if (!scaled) {
      const size_t bytes = static_cast<size_t>(shown.width()) * 4;
      for (int32_t y = shown.top; y < shown.bottom; ++y) {
        std::memcpy(RowOf(target, y) + shown.left,
                    RowOf(source, y - map_.viewport.top) + (shown.left - map_.viewport.left),
                    bytes);
      }
      continue;
    }
    const Rect& viewport = map_.viewport;
    ScaleArea<uint32_t, uint32_t>(map_, source, target,
                                  Rect{shown.left - viewport.left, shown.top - viewport.top,
                                       shown.right - viewport.left, shown.bottom - viewport.top},
                                  [](uint32_t pixel) { return pixel; });
  }
  return true;
}

bool ShmFrameWriter::drawWhole(SDL_Surface* frame, SDL_Surface* target) {
  if (!ready() || target == nullptr || !FillBars(target, map_.viewport)) return false;
  return draw(frame, {Rect{0, 0, frameWidth_, frameHeight_}}, target);
}

}  // namespace grazefall::platform::sdl
