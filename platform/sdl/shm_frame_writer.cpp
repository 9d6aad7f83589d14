#include "platform/sdl/shm_frame_writer.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/sdl/frame_presenter.h"

namespace grazefall::platform::sdl {
namespace {

// The first viewport column showing frame column `frameColumn` (or beyond):
// viewport column x shows frame column x * frameSide / viewportSide.
int32_t FirstShowing(int64_t frameColumn, int64_t frameSide, int64_t viewportSide) {
  return static_cast<int32_t>((frameColumn * viewportSide + frameSide - 1) / frameSide);
}

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
    viewport_ = Rect{};
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
      viewport_ = Rect{};
      return false;
    }
  }
  viewport_ = LetterboxOf(frame->w, frame->h, width, height);
  sourceColumn_.resize(static_cast<size_t>(std::max(0, viewport_.width())));
  sourceRow_.resize(static_cast<size_t>(std::max(0, viewport_.height())));
  for (int32_t x = 0; x < viewport_.width(); ++x) {
    sourceColumn_[x] = static_cast<int32_t>(int64_t{x} * frame->w / viewport_.width());
  }
  for (int32_t y = 0; y < viewport_.height(); ++y) {
    sourceRow_[y] = static_cast<int32_t>(int64_t{y} * frame->h / viewport_.height());
  }
  return ready();
}

Rect ShmFrameWriter::shownArea(const Rect& area) const {
  const Rect cut{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, frameWidth_),
                 std::min(area.bottom, frameHeight_)};
  if (!ready() || cut.width() <= 0 || cut.height() <= 0) return Rect{};
  const Rect shown{viewport_.left + FirstShowing(cut.left, frameWidth_, viewport_.width()),
                   viewport_.top + FirstShowing(cut.top, frameHeight_, viewport_.height()),
                   viewport_.left + FirstShowing(cut.right, frameWidth_, viewport_.width()),
                   viewport_.top + FirstShowing(cut.bottom, frameHeight_, viewport_.height())};
  return shown.width() > 0 && shown.height() > 0 ? shown : Rect{};
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
  const bool scaled = viewport_.width() != frameWidth_ || viewport_.height() != frameHeight_;
  for (const Rect& area : areas) {
    const Rect shown = shownArea(area);
    if (shown.width() <= 0) continue;
    if (!scaled) {
      const size_t bytes = static_cast<size_t>(shown.width()) * 4;
      for (int32_t y = shown.top; y < shown.bottom; ++y) {
        std::memcpy(RowOf(target, y) + shown.left,
                    RowOf(source, y - viewport_.top) + (shown.left - viewport_.left), bytes);
      }
      continue;
    }
    // Viewport coordinates from here on.
    const int32_t left = shown.left - viewport_.left;
    const int32_t right = shown.right - viewport_.left;
    for (int32_t y = shown.top - viewport_.top; y < shown.bottom - viewport_.top; ++y) {
      uint32_t* out = RowOf(target, viewport_.top + y) + viewport_.left;
      if (y > shown.top - viewport_.top && sourceRow_[y] == sourceRow_[y - 1]) {
        // An enlarged row: the same pixels as the row above, already there.
        const uint32_t* above = RowOf(target, viewport_.top + y - 1) + viewport_.left;
        std::memcpy(out + left, above + left, static_cast<size_t>(right - left) * 4);
        continue;
      }
      const uint32_t* in = RowOf(source, sourceRow_[y]);
      for (int32_t x = left; x < right; ++x) out[x] = in[sourceColumn_[x]];
    }
  }
  return true;
}

bool ShmFrameWriter::drawWhole(SDL_Surface* frame, SDL_Surface* target) {
  if (!ready() || target == nullptr) return false;
  const SDL_Rect bars[] = {
      {0, 0, target->w, viewport_.top},
      {0, viewport_.bottom, target->w, target->h - viewport_.bottom},
      {0, viewport_.top, viewport_.left, viewport_.height()},
      {viewport_.right, viewport_.top, target->w - viewport_.right, viewport_.height()},
  };
  for (const SDL_Rect& bar : bars) {
    if (bar.w > 0 && bar.h > 0 && SDL_FillRect(target, &bar, 0) != 0) return false;
  }
  return draw(frame, {Rect{0, 0, frameWidth_, frameHeight_}}, target);
}

}  // namespace grazefall::platform::sdl
