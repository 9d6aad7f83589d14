#include "platform/software/software_surface.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <typeinfo>

#include "platform/software/keyed_runs.h"
#include "platform/software/keyed_stretch.h"
#include "platform/software/pixel_format.h"
#include "platform/software/software_font.h"

namespace grazefall::platform::software {
namespace {

uint32_t SdlFormatFor(int32_t bitDepth) {
  switch (bitDepth) {
    case 8:
      return SDL_PIXELFORMAT_RGB332;
    case 16:
      return SDL_PIXELFORMAT_RGB565;
    case 24:
      return SDL_PIXELFORMAT_BGR24;  // bytes B, G, R: the value 0xRRGGBB
    default:
      return SDL_PIXELFORMAT_RGB888;  // 0x00RRGGBB in a 32-bit word
  }
}

// Beyond this many drawn rectangles since the last fill, the next fill
// clears the whole surface rather than keep a longer list.
constexpr size_t kMaxDrawnRects = 4096;

// Fills `area` (inside the surface) with ordinary stores. SDL's fill streams
// past the cache: small rectangles' short rows become very slow, and a whole
// fill leaves nothing in the cache for the drawing that follows it. Rows of a
// sprite's size (a few dozen bytes, thousands of them a frame) are written
// from a block of the value with fixed-size moves that may overlap, which
// is far quicker for them than a call to memset or fill per row.
template <typename Word>
void FillWords(SDL_Surface* s, const Rect& area, uint32_t value) {
  auto* row = static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(area.top) * s->pitch +
              static_cast<size_t>(area.left) * sizeof(Word);
  const auto word = static_cast<Word>(value);
  const size_t bytes = static_cast<size_t>(area.width()) * sizeof(Word);
  constexpr size_t kMove = 16;
  if (bytes >= kMove && bytes <= 4 * kMove) {
    // Every move starts a whole number of words into the row, so each word
    // gets the value whatever the overlap.
    Word block[kMove / sizeof(Word)];
    std::fill(std::begin(block), std::end(block), word);
    for (int32_t y = area.top; y < area.bottom; ++y, row += s->pitch) {
      for (size_t i = 0; i + kMove < bytes; i += kMove) std::memcpy(row + i, block, kMove);
      std::memcpy(row + bytes - kMove, block, kMove);
    }
    return;
  }
  // A value whose bytes are all alike (black above all, the clearing colour)
  // goes through memset, which writes whole vector registers at a time.
  Word sameBytes = 0;
  std::memset(&sameBytes, static_cast<uint8_t>(value), sizeof sameBytes);
  const size_t width = bytes / sizeof(Word);
  if (word == sameBytes) {
    for (int32_t y = area.top; y < area.bottom; ++y, row += s->pitch) {
      std::memset(row, static_cast<uint8_t>(value), bytes);
    }
    return;
  }
  for (int32_t y = area.top; y < area.bottom; ++y, row += s->pitch) {
    Word* out = reinterpret_cast<Word*>(row);
    std::fill(out, out + width, word);
  }
}

int FillArea(SDL_Surface* s, const Rect& area, uint32_t value) {
  switch (s->format->BytesPerPixel) {
    case 1:
      FillWords<uint8_t>(s, area, value);
      return 0;
    case 2:
      FillWords<uint16_t>(s, area, value);
      return 0;
    case 4:
      FillWords<uint32_t>(s, area, value);
      return 0;
    default: {
      SDL_Rect rect{area.left, area.top, area.width(), area.height()};
      return SDL_FillRect(s, &rect, value);
    }
  }
}

// Scaled copies beyond this size on either side are refused rather than
// handed to SDL, whose rectangle arithmetic is plain int.
constexpr int64_t kMaxBlitSide = int64_t{1} << 20;

struct Span64 {
  int64_t left, top, right, bottom;
};

Span64 Widen(const Rect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

uint8_t* PixelAddress(SDL_Surface* s, int32_t x, int32_t y) {
  return static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * static_cast<size_t>(s->pitch) +
         static_cast<size_t>(x) * s->format->BytesPerPixel;
}

}  // namespace

SurfacePixels::~SurfacePixels() {
  SDL_FreeSurface(sdl);
}

SoftwareSurface::SoftwareSurface(std::shared_ptr<SurfacePixels> pixels)
    : pixels_(std::move(pixels)) {}

SoftwareSurface::~SoftwareSurface() = default;

std::unique_ptr<SoftwareSurface> SoftwareSurface::Create(int32_t width, int32_t height,
                                                         int32_t bitDepth) {
  if (!IsSupportedDepth(bitDepth) || width <= 0 || height <= 0 || width > kMaxSurfaceSide ||
      height > kMaxSurfaceSide) {
    return nullptr;
  }
  SDL_Surface* sdl =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, bitDepth, SdlFormatFor(bitDepth));
  if (sdl == nullptr) return nullptr;
  SDL_FillRect(sdl, nullptr, 0);
  return std::unique_ptr<SoftwareSurface>(
      new SoftwareSurface(std::make_shared<SurfacePixels>(sdl)));
}

std::unique_ptr<SoftwareSurface> SoftwareSurface::CreateOn(std::unique_ptr<PixelMemory> memory,
                                                           int32_t width, int32_t height,
                                                           int32_t bitDepth) {
  if (!memory || !IsSupportedDepth(bitDepth) || width <= 0 || height <= 0 ||
      width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
    return nullptr;
  }
  SDL_Surface* sdl = SDL_CreateRGBSurfaceWithFormatFrom(memory->data(), width, height, bitDepth,
                                                        memory->pitch(), SdlFormatFor(bitDepth));
  if (sdl == nullptr) return nullptr;
  SDL_FillRect(sdl, nullptr, 0);
  auto pixels = std::make_shared<SurfacePixels>(sdl);
  pixels->lent = std::move(memory);
  return std::unique_ptr<SoftwareSurface>(new SoftwareSurface(std::move(pixels)));
}

std::unique_ptr<SoftwareSurface> SoftwareSurface::Share(std::shared_ptr<SurfacePixels> pixels) {
  if (!pixels || pixels->sdl == nullptr) return nullptr;
  return std::unique_ptr<SoftwareSurface>(new SoftwareSurface(std::move(pixels)));
}

int32_t SoftwareSurface::width() const {
  return pixels_->sdl->w;
}
int32_t SoftwareSurface::height() const {
  return pixels_->sdl->h;
}
int32_t SoftwareSurface::bitDepth() const {
  return pixels_->sdl->format->BitsPerPixel;
}

int32_t SoftwareSurface::fill(uint32_t pixelValue) {
  SurfacePixels& pixels = *pixels_;
  SDL_SetClipRect(pixels.sdl, nullptr);
  const uint32_t value = MaskToDepth(pixelValue, bitDepth());
  // A frame clears what the previous frame on these pixels drew: when that is
  // known and small, only it is cleared, which leaves the same pixels as a
  // whole fill without writing (and pulling into the cache) the rest.
  const int64_t wholeArea = int64_t{pixels.sdl->w} * pixels.sdl->h;
  int rc = 0;
  if (pixels.clearKnown && pixels.clearValue == value && pixels.drawnArea * 2 < wholeArea) {
    for (const Rect& area : pixels.drawn) {
      if (FillArea(pixels.sdl, area, value) != 0) rc = -1;
    }
  } else {
    // Ordinary stores: the frame drawn next reads and writes these pixels
    // again, and finds them in the cache rather than in memory.
    rc = FillArea(pixels.sdl, Rect{0, 0, pixels.sdl->w, pixels.sdl->h}, value);
  }
  ++pixels.generation;
  forgetClear(pixels);
  pixels.clearKnown = rc == 0;
  pixels.clearValue = value;
  return rc == 0 ? kOk : kEFail;
}

void SoftwareSurface::markWrittenIn(const Rect& area) {
  SurfacePixels& pixels = *pixels_;
  ++pixels.generation;
  if (!pixels.clearKnown) return;
  if (pixels.drawn.size() >= kMaxDrawnRects) {
    forgetClear(pixels);
    return;
  }
  pixels.drawn.push_back(area);
  pixels.drawnArea += int64_t{area.width()} * area.height();
}

int32_t SoftwareSurface::setClipList(std::span<const Rect> rectangles) {
  clipList_.clear();
  clipListSet_ = !rectangles.empty();
  for (const Rect& r : rectangles) {
    const Rect cut{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width()),
                   std::min(r.bottom, height())};
    if (cut.width() > 0 && cut.height() > 0) clipList_.push_back(cut);
  }
  return kOk;
}

std::span<const Rect> SoftwareSurface::drawableAreas(Rect& whole) const {
  if (clipListSet_) return clipList_;
  whole = Rect{0, 0, width(), height()};
  return {&whole, 1};
}

void SoftwareSurface::setColorKey(uint32_t pixelValue) {
  hasKey_ = true;
  key_ = MaskToDepth(pixelValue, bitDepth());
}

const KeyedRuns* SoftwareSurface::keyedRuns() {
  if (!keyedRuns_ || keyedGeneration_ != pixels_->generation || keyedKey_ != key_) {
    keyedRuns_ = std::make_unique<KeyedRuns>(pixels_->sdl, key_);
    keyedGeneration_ = pixels_->generation;
    keyedKey_ = key_;
  }
  return keyedRuns_.get();
}

int32_t SoftwareSurface::blit(const Rect& destination, Surface& from, const Rect& source,
                              bool keyed) {
  // The class is final, so comparing types answers what a dynamic_cast
  // would, without its walk of the class hierarchy on every sprite drawn.
  if (typeid(from) != typeid(SoftwareSurface)) return kEFail;
  auto* origin = static_cast<SoftwareSurface*>(&from);
  const Span64 dst = Widen(destination);
  const Span64 src = Widen(source);
  const int64_t dstW = dst.right - dst.left, dstH = dst.bottom - dst.top;
  const int64_t srcW = src.right - src.left, srcH = src.bottom - src.top;
  if (dstW <= 0 || dstH <= 0 || srcW <= 0 || srcH <= 0) return kEFail;
  const bool scaled = dstW != srcW || dstH != srcH;
  const bool useKey = keyed && origin->hasKey_;

  // A copy within one surface reads from a snapshot, since SDL does not
  // handle overlapping source and destination.
  std::unique_ptr<SurfacePixels> snapshot;
  SDL_Surface* input = nullptr;
  bool keyOnInput = false;
  // Unscaled keyed copies between surfaces of one format copy the sheet's
  // stretches of non-key pixels found beforehand.
  const KeyedRuns* runs = nullptr;
  if (origin->pixels_ == pixels_) {
    SDL_Surface* copy = SDL_DuplicateSurface(pixels_->sdl);
    if (copy == nullptr) return kEFail;
    snapshot = std::make_unique<SurfacePixels>(copy);
    input = copy;
    if (useKey) SDL_SetColorKey(input, SDL_TRUE, origin->key_);
  } else if (useKey && !scaled &&
             origin->pixels_->sdl->format->format == pixels_->sdl->format->format) {
    runs = origin->keyedRuns();
    input = origin->sdlSurface();
  }
  if (input == nullptr) {
    input = origin->sdlSurface();
    if (useKey) {
      SDL_SetColorKey(input, SDL_TRUE, origin->key_);
      keyOnInput = true;
    }
  }

  SDL_Surface* target = pixels_->sdl;
  Rect whole;
  const std::span<const Rect> areas = drawableAreas(whole);
  bool failed = false;
  if (!scaled) {
    // Cut in 64-bit arithmetic to each drawable area and to the source's
    // bounds, so SDL only ever sees rectangles inside both surfaces.
    for (const Rect& area : areas) {
      int64_t left = std::max<int64_t>(dst.left, area.left);
      int64_t top = std::max<int64_t>(dst.top, area.top);
      int64_t right = std::min<int64_t>(dst.right, area.right);
      int64_t bottom = std::min<int64_t>(dst.bottom, area.bottom);
      int64_t sx = src.left + (left - dst.left);
      int64_t sy = src.top + (top - dst.top);
      if (sx < 0) left -= sx, sx = 0;
      if (sy < 0) top -= sy, sy = 0;
      right = std::min<int64_t>(right, left + (input->w - sx));
      bottom = std::min<int64_t>(bottom, top + (input->h - sy));
      if (right <= left || bottom <= top) continue;
      SDL_Rect from_rect{static_cast<int>(sx), static_cast<int>(sy), static_cast<int>(right - left),
                         static_cast<int>(bottom - top)};
      SDL_Rect to_rect{static_cast<int>(left), static_cast<int>(top), from_rect.w, from_rect.h};
      if (runs != nullptr) {
        // Only where the sprite has ink is written.
        const Rect inked = runs->draw(input, from_rect, target, to_rect.x, to_rect.y);
        if (inked.width() > 0) markWrittenIn(inked);
        continue;
      }
      markWrittenIn(Rect{to_rect.x, to_rect.y, to_rect.x + to_rect.w, to_rect.y + to_rect.h});
      // Both rectangles are already inside their surfaces and the target's
      // SDL clip rectangle is the whole surface, so SDL's own clipping pass
      // would change nothing.
      if (SDL_LowerBlit(input, &from_rect, target, &to_rect) != 0) failed = true;
    }
  } else {
    const auto outOfRange = [](const Span64& r) {
      return r.right - r.left > kMaxBlitSide || r.bottom - r.top > kMaxBlitSide ||
             std::abs(r.left) > kMaxBlitSide || std::abs(r.top) > kMaxBlitSide;
    };
    const auto within = [](const Span64& r, const Rect& area) {
      return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
             r.bottom <= area.bottom;
    };
    if (outOfRange(dst) || outOfRange(src)) {
      failed = true;
    } else if (useKey && areas.size() == 1 && within(dst, areas[0]) &&
               StretchKeyed(input,
                            SDL_Rect{source.left, source.top, static_cast<int>(srcW),
                                     static_cast<int>(srcH)},
                            target,
                            SDL_Rect{destination.left, destination.top, static_cast<int>(dstW),
                                     static_cast<int>(dstH)},
                            origin->key_)) {
      // Drawn without SDL's generic scaler: nothing is cut, so the picture
      // is the same and costs a fraction.
      markWrittenIn(destination);
    } else {
      for (const Rect& area : areas) {
        // SDL draws nothing outside the clip rectangle.
        const Rect reached{static_cast<int32_t>(std::max<int64_t>(dst.left, area.left)),
                           static_cast<int32_t>(std::max<int64_t>(dst.top, area.top)),
                           static_cast<int32_t>(std::min<int64_t>(dst.right, area.right)),
                           static_cast<int32_t>(std::min<int64_t>(dst.bottom, area.bottom))};
        if (reached.width() > 0 && reached.height() > 0) markWrittenIn(reached);
        SDL_Rect clip{area.left, area.top, area.width(), area.height()};
        SDL_SetClipRect(target, &clip);
        SDL_Rect from_rect{source.left, source.top, static_cast<int>(srcW), static_cast<int>(srcH)};
        SDL_Rect to_rect{destination.left, destination.top, static_cast<int>(dstW),
                         static_cast<int>(dstH)};
        if (SDL_BlitScaled(input, &from_rect, target, &to_rect) != 0) failed = true;
      }
      SDL_SetClipRect(target, nullptr);
    }
  }
  if (keyOnInput) SDL_SetColorKey(input, SDL_FALSE, 0);
  ++pixels_->generation;
  return failed ? kEFail : kOk;
}

uint32_t SoftwareSurface::pixelValueAt(int32_t x, int32_t y) const {
  return PixelValueAt(PixelAddress(pixels_->sdl, x, y), pixels_->sdl->format->BytesPerPixel);
}

void SoftwareSurface::putPixelValue(int32_t x, int32_t y, uint32_t value) {
  uint8_t* p = PixelAddress(pixels_->sdl, x, y);
  switch (pixels_->sdl->format->BytesPerPixel) {
    case 1:
      p[0] = static_cast<uint8_t>(value);
      break;
    case 2: {
      const auto v = static_cast<uint16_t>(value);
      std::memcpy(p, &v, 2);
      break;
    }
    case 3:
      p[0] = static_cast<uint8_t>(value);
      p[1] = static_cast<uint8_t>(value >> 8);
      p[2] = static_cast<uint8_t>(value >> 16);
      break;
    default:
      std::memcpy(p, &value, 4);
      break;
  }
}

ColorRef SoftwareSurface::getPixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return kClrInvalid;
  return DecodeColor(pixelValueAt(x, y), bitDepth());
}

ColorRef SoftwareSurface::setPixel(int32_t x, int32_t y, ColorRef color) {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return kClrInvalid;
  const uint32_t value = EncodeColor(color, bitDepth());
  putPixelValue(x, y, value);
  markWritten();
  return DecodeColor(value, bitDepth());
}

bool SoftwareSurface::readFirstPixelWord(uint32_t* word) {
  if (word == nullptr) return false;
  SDL_Surface* s = pixels_->sdl;
  if (SDL_LockSurface(s) != 0) return false;
  // The word may reach past the first pixel; never past the pixel memory.
  const size_t available = static_cast<size_t>(s->pitch) * static_cast<size_t>(s->h);
  uint8_t bytes[4] = {0, 0, 0, 0};
  std::memcpy(bytes, s->pixels, std::min<size_t>(4, available));
  SDL_UnlockSurface(s);
  *word = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
          (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
  return true;
}

uint32_t SoftwareSurface::pixelValueOf(ColorRef color) {
  const int32_t bits = bitDepth();
  if (color != kClrInvalid && width() > 0 && height() > 0) {
    return MaskToDepth(EncodeColor(color, bits), bits);
  }
  // No colour, or no pixel to draw one in: whatever the first pixel's bytes
  // hold.
  uint32_t word = 0;
  if (!readFirstPixelWord(&word)) return kClrInvalid;
  return MaskToDepth(word, bits);
}

int32_t SoftwareSurface::drawPicture(const Picture& picture, const Rect& source) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() !=
          static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height)) {
    return kEFail;
  }
  const int64_t srcW = int64_t{source.right} - source.left;
  const int64_t srcH = int64_t{source.bottom} - source.top;
  if (srcW <= 0 || srcH <= 0) return kEFail;
  const int32_t w = width(), h = height(), depth = bitDepth();
  // Nearest-pixel stretch of the source rectangle over the whole surface;
  // source points outside the picture leave the surface pixel as it was.
  std::vector<int64_t> columns(static_cast<size_t>(w));
  for (int32_t dx = 0; dx < w; ++dx) columns[dx] = source.left + dx * srcW / w;
  for (int32_t dy = 0; dy < h; ++dy) {
    const int64_t sy = source.top + dy * srcH / h;
    if (sy < 0 || sy >= picture.height) continue;
    const ColorRef* row = picture.pixels.data() + static_cast<size_t>(sy) * picture.width;
    for (int32_t dx = 0; dx < w; ++dx) {
      const int64_t sx = columns[dx];
      if (sx < 0 || sx >= picture.width) continue;
      putPixelValue(dx, dy, EncodeColor(row[sx], depth));
    }
  }
  markWritten();
  return kOk;
}

int32_t SoftwareSurface::drawText(int32_t x, int32_t y, std::string_view text, const Font* font,
                                  ColorRef color, bool transparent) {
  Rect written;
  const int32_t rc = DrawTextLine(*this, x, y, text, font, color, transparent, &written);
  // Messages are drawn over the herd for many frames: knowing where the text
  // went keeps those frames cleared and shown by their changed parts only.
  const Rect cut{std::max(written.left, 0), std::max(written.top, 0),
                 std::min(written.right, width()), std::min(written.bottom, height())};
  if (cut.width() > 0 && cut.height() > 0) {
    markWrittenIn(cut);
  } else {
    ++pixels_->generation;
  }
  return rc;
}

Picture SoftwareSurface::toPicture() const {
  Picture picture;
  picture.width = width();
  picture.height = height();
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  const int32_t depth = bitDepth();
  size_t i = 0;
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      picture.pixels[i++] = DecodeColor(pixelValueAt(x, y), depth);
    }
  }
  return picture;
}

bool SoftwareSurface::copyPixelsFrom(const SoftwareSurface& other) {
  SDL_Surface* to = pixels_->sdl;
  const SDL_Surface* from = other.pixels_->sdl;
  if (to == from) return true;
  if (to->w != from->w || to->h != from->h || to->format->format != from->format->format) {
    return false;
  }
  const size_t rowBytes = static_cast<size_t>(to->w) * to->format->BytesPerPixel;
  for (int y = 0; y < to->h; ++y) {
    std::memcpy(static_cast<uint8_t*>(to->pixels) + static_cast<size_t>(y) * to->pitch,
                static_cast<const uint8_t*>(from->pixels) + static_cast<size_t>(y) * from->pitch,
                rowBytes);
  }
  markWritten();
  return true;
}

bool SoftwareSurface::tradePixelsWith(SurfacePixels& other) {
  SDL_Surface* mine = pixels_->sdl;
  SDL_Surface* theirs = other.sdl;
  if (mine == theirs) return true;
  if (mine->w != theirs->w || mine->h != theirs->h ||
      mine->format->format != theirs->format->format) {
    return false;
  }
  // Only the pixel memory moves: each SDL_Surface stays where it is, so the
  // blit mappings SDL keeps from every sheet to the back buffer stay valid.
  // Memory SDL allocated the same way for both is freed the same way by
  // either surface; anything else (caller-owned or encoded memory) is copied.
  // Lent memory moves with its owner.
  constexpr uint32_t kNotOwned = SDL_PREALLOC | SDL_RLEACCEL | SDL_DONTFREE;
  SurfacePixels& own = *pixels_;
  const bool bothLent = own.lent && other.lent &&
                        ((mine->flags | theirs->flags) & (SDL_RLEACCEL | SDL_DONTFREE)) == 0;
  const bool bothSdls =
      !own.lent && !other.lent && ((mine->flags | theirs->flags) & kNotOwned) == 0;
  const bool tradable = mine->pitch == theirs->pitch && mine->locked == 0 && theirs->locked == 0 &&
                        (bothLent || bothSdls) &&
                        ((mine->flags ^ theirs->flags) & SDL_SIMD_ALIGNED) == 0;
  if (!tradable) {
    const auto view = Share(std::shared_ptr<SurfacePixels>(&other, [](SurfacePixels*) {}));
    return view && copyPixelsFrom(*view);
  }
  std::swap(mine->pixels, theirs->pixels);
  std::swap(own.lent, other.lent);
  // What is known of each memory's clearing travels with it.
  std::swap(own.clearKnown, other.clearKnown);
  std::swap(own.clearValue, other.clearValue);
  std::swap(own.drawn, other.drawn);
  std::swap(own.drawnArea, other.drawnArea);
  ++own.generation;
  ++other.generation;
  return true;
}

}  // namespace grazefall::platform::software
