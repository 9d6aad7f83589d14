// A Surface whose pixels live in memory in an SDL_Surface of one of the four
// fixed formats (see pixel_format.h). SDL's surface functions do the plain
// and scaled copies; this class adds its own fills and keyed copies (see
// keyed_runs.h and keyed_stretch.h), the clip list of several rectangles,
// ColorRef pixel access, picture conversion and text.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/picture.h"
#include "platform/surface.h"
#include "platform/types.h"

struct SDL_Surface;

namespace grazefall::platform::software {

class KeyedRuns;

// Keeps pixel memory that a backend lends a surface (memory the display
// server reads too, say) alive; it lets go when destroyed.
class PixelMemory {
 public:
  virtual ~PixelMemory() = default;
  virtual void* data() const = 0;
  // Bytes from one row to the next.
  virtual int32_t pitch() const = 0;
};

// The pixel memory of a surface. A primary and the back buffer attached to it
// are two surfaces; each owns one of these, and the primary also holds its
// back buffer's so that a flip can show it.
struct SurfacePixels {
  explicit SurfacePixels(SDL_Surface* surface) : sdl(surface) {}
  ~SurfacePixels();
  SurfacePixels(const SurfacePixels&) = delete;
  SurfacePixels& operator=(const SurfacePixels&) = delete;

  SDL_Surface* sdl;
  // The owner of the pixels when they are lent (SDL's surface then does not
  // own them); freed after `sdl`.
  std::unique_ptr<PixelMemory> lent;
  // Raised on every write, so copies derived from the pixels know they are stale.
  uint64_t generation = 0;

  // What the last whole fill left: while `clearKnown`, every pixel holds
  // `clearValue` except inside the `drawn` rectangles (already cut to the
  // surface), so the next fill with the same value need only clear those.
  // Any write whose extent is not known drops the knowledge.
  bool clearKnown = false;
  uint32_t clearValue = 0;
  std::vector<Rect> drawn;
  int64_t drawnArea = 0;
};

// Largest side and largest pixel count a surface may have.
constexpr int32_t kMaxSurfaceSide = 16384;
constexpr int64_t kMaxSurfacePixels = int64_t{16384} * 16384;

class SoftwareSurface final : public Surface {
 public:
  // A surface cleared to 0, or null for an unsupported depth, a size outside
  // 1..kMaxSurfaceSide, or no memory.
  static std::unique_ptr<SoftwareSurface> Create(int32_t width, int32_t height, int32_t bitDepth);
  // The same on `memory`, which must hold `height` rows of `width` pixels of
  // `bitDepth` bits at its pitch.
  static std::unique_ptr<SoftwareSurface> CreateOn(std::unique_ptr<PixelMemory> memory,
                                                   int32_t width, int32_t height, int32_t bitDepth);
  // A second surface drawing onto the same pixels.
  static std::unique_ptr<SoftwareSurface> Share(std::shared_ptr<SurfacePixels> pixels);
  ~SoftwareSurface() override;

  int32_t width() const override;
  int32_t height() const override;
  int32_t bitDepth() const override;

  int32_t fill(uint32_t pixelValue) override;
  int32_t blit(const Rect& destination, Surface& from, const Rect& source, bool keyed) override;
  int32_t setClipList(std::span<const Rect> rectangles) override;

  void setColorKey(uint32_t pixelValue) override;
  bool hasColorKey() const override { return hasKey_; }
  uint32_t colorKey() const override { return key_; }

  ColorRef getPixel(int32_t x, int32_t y) const override;
  ColorRef setPixel(int32_t x, int32_t y, ColorRef color) override;
  uint32_t pixelValueOf(ColorRef color) override;
  // The 32-bit little-endian word at the first pixel, as raw memory (zeros
  // past the pixels' end). False when the surface cannot be locked.
  bool readFirstPixelWord(uint32_t* word);
  int32_t drawPicture(const Picture& picture, const Rect& source) override;
  int32_t drawText(int32_t x, int32_t y, std::string_view text, const Font* font, ColorRef color,
                   bool transparent) override;

  // The raw pixel value at (x, y); the caller keeps to the surface.
  uint32_t pixelValueAt(int32_t x, int32_t y) const;
  void putPixelValue(int32_t x, int32_t y, uint32_t value);

  // Every pixel decoded to a colour.
  Picture toPicture() const;
  // Copies all pixels of a surface of the same size and depth; false otherwise.
  bool copyPixelsFrom(const SoftwareSurface& other);
  // Trades pixel memory with `other`, a surface of the same size and depth,
  // so each shows what the other held; every surface sharing either's pixels
  // sees the trade. Falls back to a copy into this surface when the memory
  // cannot be traded; false when the sizes or depths differ.
  bool tradePixelsWith(SurfacePixels& other);

  const std::shared_ptr<SurfacePixels>& pixels() const { return pixels_; }
  SDL_Surface* sdlSurface() const { return pixels_->sdl; }
  // The back buffer a flip shows (primaries only; null otherwise).
  const std::shared_ptr<SurfacePixels>& attachedBackBuffer() const { return backBuffer_; }
  void attachBackBuffer(std::shared_ptr<SurfacePixels> backBuffer) {
    backBuffer_ = std::move(backBuffer);
  }
  // The rectangles of the clip list, each already cut to the surface.
  const std::vector<Rect>& clipList() const { return clipList_; }

  // Called after any write that bypasses the surface's own operations.
  void markWritten() {
    ++pixels_->generation;
    forgetClear(*pixels_);
  }

 private:
  explicit SoftwareSurface(std::shared_ptr<SurfacePixels> pixels);
  static void forgetClear(SurfacePixels& pixels) {
    pixels.clearKnown = false;
    pixels.drawn.clear();
    pixels.drawnArea = 0;
  }
  // A write that touched only `area` (inside the surface).
  void markWrittenIn(const Rect& area);
  // The rectangles a blit may draw into: the clip list, or else `whole`,
  // which the caller provides and keeps alive while the span is used.
  std::span<const Rect> drawableAreas(Rect& whole) const;
  // The stretches of non-key pixels that unscaled keyed blits copy, found
  // again when the pixels or the key have changed.
  const KeyedRuns* keyedRuns();

  std::shared_ptr<SurfacePixels> pixels_;
  std::shared_ptr<SurfacePixels> backBuffer_;
  std::vector<Rect> clipList_;
  bool clipListSet_ = false;
  bool hasKey_ = false;
  uint32_t key_ = 0;
  std::unique_ptr<KeyedRuns> keyedRuns_;
  uint64_t keyedGeneration_ = 0;
  uint32_t keyedKey_ = 0;
};

}  // namespace grazefall::platform::software
