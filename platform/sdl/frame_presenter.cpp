#include "platform/sdl/frame_presenter.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/sdl/x11_shared_image.h"
#include "platform/sdl/x11_shm_window.h"

namespace grazefall::platform::sdl {
namespace {

// Scales pixels already in the target's format.
template <typename Pixel>
void ScalePixels(const ViewportMap& map, const SDL_Surface* from, SDL_Surface* to,
                 const Rect& area) {
  ScaleArea<Pixel, Pixel>(map, from, to, area, [](const Pixel& pixel) { return pixel; });
}

// Scales straight from the frame (`Word`: its 8 or 16-bit pixels), each pixel
// converted to 32 bits by `lookup`.
template <typename Word>
void ScaleLookedUp(const ViewportMap& map, const SDL_Surface* frame, SDL_Surface* to,
                   const Rect& area, const PixelLookup& lookup) {
  ScaleArea<Word, uint32_t>(map, frame, to, area, [&lookup](Word value) { return lookup[value]; });
}

// Copies `from` in `frame` to `to` in `target` (same size, inside both),
// each pixel converted by `lookup`.
template <typename Word>
void CopyLookedUp(const SDL_Surface* frame, const SDL_Rect& from, SDL_Surface* target,
                  const SDL_Rect& to, const PixelLookup& lookup) {
  for (int row = 0; row < from.h; ++row) {
    const Word* in =
        reinterpret_cast<const Word*>(static_cast<const uint8_t*>(frame->pixels) +
                                      static_cast<size_t>(from.y + row) * frame->pitch) +
        from.x;
    uint32_t* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target->pixels) +
                                                static_cast<size_t>(to.y + row) * target->pitch) +
                    to.x;
    for (int x = 0; x < from.w; ++x) out[x] = lookup[in[x]];
  }
}

struct Pixel24 {
  uint8_t bytes[3];
};

// Copies `from` in `source` to `to` in `target` (same size, inside both),
// converting the pixel format when the two differ. False when SDL fails.
bool CopyArea(SDL_Surface* source, const SDL_Rect& from, SDL_Surface* target, SDL_Rect to) {
  if (source->format->format != target->format->format) {
    return SDL_BlitSurface(source, const_cast<SDL_Rect*>(&from), target, &to) == 0;
  }
  // Rows copied with ordinary stores: SDL's copy streams past the cache,
  // while the X server reads these pixels straight after.
  const size_t bytes = source->format->BytesPerPixel;
  const size_t rowBytes = static_cast<size_t>(from.w) * bytes;
  const auto* in = static_cast<const uint8_t*>(source->pixels) +
                   static_cast<size_t>(from.y) * source->pitch +
                   static_cast<size_t>(from.x) * bytes;
  auto* out = static_cast<uint8_t*>(target->pixels) + static_cast<size_t>(to.y) * target->pitch +
              static_cast<size_t>(to.x) * bytes;
  for (int row = 0; row < from.h; ++row) {
    std::memcpy(out, in, rowBytes);
    in += source->pitch;
    out += target->pitch;
  }
  return true;
}

}  // namespace

FramePresenter::FramePresenter(bool sharedX11Pixels) : sharedX11Pixels_(sharedX11Pixels) {}

FramePresenter::~FramePresenter() {
  if (staging_ != nullptr) SDL_FreeSurface(staging_);
}

SDL_Surface* FramePresenter::windowPixels(SDL_Window* window) {
  if (!sharedX11Pixels_) return SDL_GetWindowSurface(window);
  if (window != sharedWindow_ || (shared_ && !shared_->fits(window))) {
    shared_.reset();
    sharedTried_ = false;
    sharedWindow_ = window;
  }
  if (!sharedTried_) {
    sharedTried_ = true;
    shared_ = X11ShmWindow::Open(window);
    // New pixels hold nothing shown yet.
    windowCurrent_ = false;
  }
  return shared_ ? shared_->surface() : SDL_GetWindowSurface(window);
}

bool FramePresenter::send(SDL_Window* window, const std::vector<Rect>& rects, bool whole) {
  if (shared_) return shared_->send(rects, whole);
  if (whole) return SDL_UpdateWindowSurface(window) == 0;
  if (rects.empty()) return true;
  std::vector<SDL_Rect> sdlRects;
  sdlRects.reserve(rects.size());
  for (const Rect& area : rects) {
    sdlRects.push_back(SDL_Rect{area.left, area.top, area.width(), area.height()});
  }
  return SDL_UpdateWindowSurfaceRects(window, sdlRects.data(), static_cast<int>(sdlRects.size())) ==
         0;
}

std::optional<int32_t> FramePresenter::putShared(SDL_Window* window, SDL_Surface* frame,
                                                 const std::optional<std::vector<Rect>>& changes,
                                                 const X11SharedImage& shared) {
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window, &width, &height);
  // A window the frame lands in twice as wide and high has the server double it.
  const std::optional<Rect> viewport = DoubledViewportOf(frame->w, frame->h, width, height);
  const bool doubled = viewport.has_value();
  if (frame->pixels != shared.pixels() || frame->w != shared.width() ||
      frame->h != shared.height() || !(doubled || (width == frame->w && height == frame->h))) {
    return std::nullopt;
  }
  if (window != suitedWindow_ || doubled != suitedDoubled_) {
    if (!shared.suits(window) || (doubled && !shared.doublesOn(window))) return std::nullopt;
    suitedWindow_ = window;
    suitedDoubled_ = doubled;
    sharedCurrent_ = false;
  }
  // The window no longer shows what our own copy of its pixels holds.
  windowCurrent_ = false;
  const bool whole = !changes || !sharedCurrent_;
  sharedCurrent_ = false;
  const std::vector<Rect> none;
  const std::vector<Rect>& rects = whole ? none : *changes;
  if (!(doubled ? shared.putDoubledOn(window, *viewport, rects, whole)
                : shared.putOn(window, rects, whole))) {
    return kEFail;
  }
  sharedCurrent_ = true;
  return kOk;
}

int32_t FramePresenter::present(SDL_Window* window, SDL_Surface* frame,
                                const std::optional<std::vector<Rect>>& changes,
                                const X11SharedImage* shared) {
  if (window == nullptr || frame == nullptr) return kEFail;
  if (shared != nullptr && sharedX11Pixels_) {
    if (const std::optional<int32_t> put = putShared(window, frame, changes, *shared)) return *put;
  }
  // What the window shows is no longer the last frame put from shared pixels.
  sharedCurrent_ = false;
  SDL_Surface* target = windowPixels(window);
  if (target == nullptr) return kEFail;
  const bool sameTarget = target == lastWindowSurface_ && target->w == lastWindowWidth_ &&
                          target->h == lastWindowHeight_;
  const bool sameFrame = lastFrameWidth_ == frame->w && lastFrameHeight_ == frame->h &&
                         lastFrameFormat_ == frame->format->format &&
                         lastTargetFormat_ == target->format->format;
  // The bars around the viewport hold what they were last given until the
  // window or its fitting changes, or something else may have drawn on it.
  const bool barsShown = windowCurrent_ && sameTarget && sameFrame;
  bool whole = !changes || !barsShown;
  windowCurrent_ = false;
  if (!sameTarget || !sameFrame) {
    map_.fit(frame->w, frame->h, target->w, target->h);
    lastWindowSurface_ = target;
    lastWindowWidth_ = target->w;
    lastWindowHeight_ = target->h;
    lastFrameWidth_ = frame->w;
    lastFrameHeight_ = frame->h;
    lastFrameFormat_ = frame->format->format;
    lastTargetFormat_ = target->format->format;
  }
  // Unscaled frames are converted straight into the window surface. Scaled
  // ones already in the window's format are scaled from the frame itself;
  // others are converted into the kept copy first, from which they are
  // scaled (or, with a table, converted as they are scaled, with no kept copy
  // at all: at 3840x2160 it would be 32 MiB more).
  const bool scaled = map_.viewport.width() != frame->w || map_.viewport.height() != frame->h;
  const bool lookedUp = lookup_.fit(frame, target);
  const bool staged = scaled && !lookedUp && frame->format->format != target->format->format;
  if (staged) {
    if (staging_ == nullptr || staging_->w != frame->w || staging_->h != frame->h ||
        staging_->format->format != target->format->format) {
      if (staging_ != nullptr) SDL_FreeSurface(staging_);
      staging_ = SDL_CreateRGBSurfaceWithFormat(0, frame->w, frame->h, target->format->BitsPerPixel,
                                                target->format->format);
      if (staging_ == nullptr) return kEFail;
      // A new copy holds nothing of the frame yet.
      whole = true;
    }
  } else if (staging_ != nullptr) {
    SDL_FreeSurface(staging_);
    staging_ = nullptr;
  }

  // The frame's rectangles, and the viewport's rectangles showing them.
  std::vector<Rect> wholeFrame;
  if (whole) wholeFrame.push_back(Rect{0, 0, frame->w, frame->h});
  const std::vector<Rect>& areas = whole ? wholeFrame : *changes;
  // A whole frame covers the viewport; only the bars around it are cleared,
  // and cleared and sent only when they may not show black already: a
  // letterboxed scene whose every frame goes whole then costs its viewport.
  const bool barred = map_.viewport.width() != target->w || map_.viewport.height() != target->h;
  const bool wholeWindow = whole && (!barsShown || !barred);
  if (wholeWindow && !FillBars(target, map_.viewport)) return kEFail;
  sent_.clear();
  for (const Rect& area : areas) {
    const Rect cut{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, frame->w),
                   std::min(area.bottom, frame->h)};
    if (cut.width() <= 0 || cut.height() <= 0) continue;
    SDL_Rect from{cut.left, cut.top, cut.width(), cut.height()};
    SDL_Rect to{cut.left, cut.top, cut.width(), cut.height()};
    if (!scaled) {
      to.x += map_.viewport.left;
      to.y += map_.viewport.top;
    }
    if (lookedUp) {
      // Scaled frames are converted as they are scaled, below.
      if (!scaled && frame->format->BytesPerPixel == 1) {
        CopyLookedUp<uint8_t>(frame, from, target, to, lookup_);
      } else if (!scaled) {
        CopyLookedUp<uint16_t>(frame, from, target, to, lookup_);
      }
    } else if (staged || !scaled) {
      if (!CopyArea(frame, from, staged ? staging_ : target, to)) return kEFail;
    }
    const Rect shown = map_.shownOf(cut);
    if (shown.width() > 0) sent_.push_back(shown);
  }

  if (scaled) {
    const SDL_Surface* source = staged ? staging_ : frame;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return kEFail;
    for (const Rect& area : sent_) {
      if (lookedUp) {
        if (frame->format->BytesPerPixel == 1) {
          ScaleLookedUp<uint8_t>(map_, frame, target, area, lookup_);
        } else {
          ScaleLookedUp<uint16_t>(map_, frame, target, area, lookup_);
        }
        continue;
      }
      switch (target->format->BytesPerPixel) {
        case 1:
          ScalePixels<uint8_t>(map_, source, target, area);
          break;
        case 2:
          ScalePixels<uint16_t>(map_, source, target, area);
          break;
        case 3:
          ScalePixels<Pixel24>(map_, source, target, area);
          break;
        default:
          ScalePixels<uint32_t>(map_, source, target, area);
          break;
      }
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
  }

  std::vector<Rect> sent;
  sent.reserve(wholeWindow ? 0 : sent_.size());
  if (!wholeWindow) {
    for (const Rect& area : sent_) {
      sent.push_back(Rect{map_.viewport.left + area.left, map_.viewport.top + area.top,
                          map_.viewport.left + area.right, map_.viewport.top + area.bottom});
    }
  }
  const int rc = send(window, sent, wholeWindow) ? 0 : -1;
  if (rc != 0) return kEFail;
  windowCurrent_ = true;
  return kOk;
}

}  // namespace grazefall::platform::sdl
