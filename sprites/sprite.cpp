#include "sprites/sprite.h"

#include "runtime/display.h"
#include "sprites/blit_rects.h"
#include "sprites/sprite_sheet.h"

namespace grazefall {
namespace {

using platform::ColorRef;
using platform::kClrInvalid;

// loopCount counts arrivals on the last frame up to this, then starts again.
constexpr int32_t kLoopCountLimit = 10000;

struct Step {
  int32_t dx;
  int32_t dy;
};

// Unit movement per direction code; screen y grows downward.
constexpr Step kSteps[9] = {
    {0, 0},    // None
    {1, 0},    // Right
    {0, -1},   // Up
    {-1, 0},   // Left
    {0, 1},    // Down
    {1, -1},   // UpRight
    {-1, -1},  // UpLeft
    {-1, 1},   // DownLeft
    {1, 1},    // DownRight
};

// Grid colours are compared on red, green and blue only.
bool SameRgb(ColorRef a, ColorRef b) {
  return (a & 0x00FFFFFFu) == (b & 0x00FFFFFFu);
}

// Two's-complement addition, so that a sprite driven far off the screen by an
// absurd speed wraps around instead of overflowing.
int32_t WrappingAdd(int32_t a, int64_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Walks from `start` along a line of pixels until the reference colour or the
// edge of the picture; returns the position where it stopped. `limit` bounds
// the walk even for a surface that never reports its edge.
template <typename Read>
int32_t ScanUntilSeparator(Read read, ColorRef reference, int32_t limit) {
  int32_t position = 1;
  ColorRef color = read(position);
  while (!SameRgb(color, reference) && color != kClrInvalid && position < limit) {
    ++position;
    color = read(position);
  }
  return position;
}

}  // namespace

Sprite::Sprite(const Display& display, int32_t resourceId, AnimationMode mode)
    : display_(&display) {
  sheet_ = new SpriteSheet(display, resourceId);
  sheetShared_ = 0;
  loopCount_ = 0;
  measureFrames();
  mode_ = mode;
  reset();
}

Sprite::Sprite(const Display& display, SpriteSheet* sheet, AnimationMode mode, int32_t shared)
    : display_(&display) {
  sheet_ = sheet;
  sheetShared_ = shared;
  loopCount_ = 0;
  measureFrames();
  mode_ = mode;
  reset();
}

Sprite::~Sprite() {
  if (sheet_ != nullptr && sheetShared_ != 1) delete sheet_;
}

void Sprite::attachSheet(SpriteSheet* sheet, int32_t shared) {
  // Re-attaching the sheet already held must not destroy it first.
  if (sheet_ != nullptr && sheetShared_ != 1 && sheet_ != sheet) delete sheet_;
  sheet_ = sheet;
  sheetShared_ = shared;
  loopCount_ = 0;
  measureFrames();
}

void Sprite::reset() {
  prevX_ = 0;
  prevY_ = 0;
  delayCounter_ = 0;
  delay_ = 3;
  loopCount_ = 0;
  wrap_ = 0;
  speed_ = 1;
  x_ = display_->width / 2 - frameWidth_ / 2;
  y_ = display_->height / 2 - frameHeight_ / 2;
  direction_ = Direction::None;
  column_ = 1;
  row_ = 0;
}

void Sprite::setDirection(int32_t direction) {
  const bool valid = direction > 0 && direction <= 8;
  direction_ = valid ? static_cast<Direction>(direction) : Direction::None;
  if (mode_ == AnimationMode::Directional) column_ = valid ? direction : 1;
}

void Sprite::measureFrames() {
  platform::Surface* surface = sheet_ != nullptr ? sheet_->surface() : nullptr;
  if (surface == nullptr) {
    // Nothing to read: a sprite without a picture has no frames.
    frameWidth_ = frameHeight_ = columns_ = rows_ = 0;
    return;
  }
  // Frame width along row 2 (row 1 may hold a frame's top line in the
  // separator colour), frame height down column 1.
  const int32_t x = ScanUntilSeparator([&](int32_t at) { return surface->getPixel(at, 2); },
                                       surface->getPixel(0, 2), surface->width());
  const int32_t y = ScanUntilSeparator([&](int32_t at) { return surface->getPixel(1, at); },
                                       surface->getPixel(1, 0), surface->height());
  frameWidth_ = x - 1;
  frameHeight_ = y - 1;
  columns_ = (sheet_->width() - 1) / (frameWidth_ + 1);
  rows_ = (sheet_->height() - 1) / (frameHeight_ + 1);
}

void Sprite::move() {
  prevX_ = x_;
  prevY_ = y_;
  const int32_t code = static_cast<int32_t>(direction_);
  const Step step = (code >= 0 && code <= 8) ? kSteps[code] : kSteps[0];
  x_ = WrappingAdd(x_, static_cast<int64_t>(step.dx) * speed_);
  y_ = WrappingAdd(y_, static_cast<int64_t>(step.dy) * speed_);
  if (wrap_ != 0) {
    if (x_ <= -frameWidth_) {
      x_ = display_->width - 1;
    } else if (x_ >= display_->width) {
      x_ = 1 - frameWidth_;
    }
  }
}

void Sprite::advanceFrame() {
  if (mode_ == AnimationMode::Sequential) {
    sequentialStep();
  } else if (mode_ == AnimationMode::Directional) {
    directionalStep();
  }
}

void Sprite::sequentialStep() {
  if (delayCounter_ < delay_) {
    ++delayCounter_;
    return;
  }
  delayCounter_ = 0;
  if (column_ < columns_) {
    ++column_;
    if (row_ == rows_ - 1 && column_ == columns_) {
      ++loopCount_;
      if (loopCount_ > kLoopCountLimit) loopCount_ = 0;
    }
  } else {
    column_ = 1;
    row_ = row_ < rows_ - 1 ? row_ + 1 : 0;
  }
}

void Sprite::directionalStep() {
  // Standing still shows the standing pose of row 0.
  if (x_ == prevX_ && y_ == prevY_) {
    row_ = 0;
    delayCounter_ = 0;
    return;
  }
  if (delayCounter_ < delay_) {
    ++delayCounter_;
    return;
  }
  delayCounter_ = 0;
  if (rows_ == 1) {
    row_ = 0;
  } else if (row_ < rows_ - 1) {
    ++row_;
  } else {
    row_ = 1;  // the walk cycle skips the standing row
  }
}

void Sprite::drawAnimated(platform::Surface& target) {
  advanceFrame();
  blitCurrentFrame(target);
}

void Sprite::draw(platform::Surface& target) {
  blitCurrentFrame(target);
}

void Sprite::blitCurrentFrame(platform::Surface& target) const {
  if (sheet_ == nullptr || sheet_->surface() == nullptr) return;
  const int64_t fw = frameWidth_;
  const int64_t fh = frameHeight_;
  platform::Rect destination;
  platform::Rect source;
  if (!RectFromSize(x_, y_, fw, fh, &destination)) return;
  // Most of a big herd or of the drops waits above or beside the screen:
  // a frame wholly outside the target would draw nothing, so it costs
  // nothing more.
  if (destination.right <= 0 || destination.bottom <= 0 || destination.left >= target.width() ||
      destination.top >= target.height()) {
    return;
  }
  if (!RectFromSize((fw + 1) * (column_ - 1) + 1, (fh + 1) * row_ + 1, fw, fh, &source)) return;
  CheckedBlit(target, destination, *sheet_->surface(), source, true);
}

}  // namespace grazefall
