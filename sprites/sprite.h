// One moving, animated picture: a cow, an explosion, the saucer. It takes its
// frames from a sheet whose grid it measures from the picture's own separator
// pixels, steps its animation with a delay counter and draws its current frame
// with the sheet's colour key.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace grazefall {

struct Display;
class SpriteSheet;

enum class Direction : int32_t {
  None = 0,
  Right = 1,
  Up = 2,
  Left = 3,
  Down = 4,
  UpRight = 5,
  UpLeft = 6,
  DownLeft = 7,
  DownRight = 8,
};

enum class AnimationMode : int32_t { Sequential = 0, Directional = 1 };

class Sprite {
 public:
  // Loads and owns its own sheet from bitmap resource `resourceId`.
  Sprite(const Display& display, int32_t resourceId, AnimationMode mode);
  // Takes `sheet`; destroys it only when `shared` is not 1.
  Sprite(const Display& display, SpriteSheet* sheet, AnimationMode mode, int32_t shared);
  ~Sprite();

  Sprite(const Sprite&) = delete;
  Sprite& operator=(const Sprite&) = delete;

  // Swaps in another sheet (destroying the old one when owned) and measures
  // it; position, direction, speed, column and row stay.
  void attachSheet(SpriteSheet* sheet, int32_t shared);

  void setPosition(int32_t x, int32_t y) {
    x_ = x;
    y_ = y;
  }
  int32_t x() const { return x_; }
  int32_t y() const { return y_; }
  void setDirection(int32_t direction);
  void setDirection(Direction direction) { setDirection(static_cast<int32_t>(direction)); }
  Direction direction() const { return direction_; }
  void setSpeed(int32_t pixels) { speed_ = pixels; }
  int32_t speed() const { return speed_; }
  void setDelay(int32_t calls) { delay_ = calls; }
  int32_t delay() const { return delay_; }
  void setWrap(int32_t flag) { wrap_ = flag; }
  int32_t wrap() const { return wrap_; }

  int32_t frameWidth() const { return frameWidth_; }
  int32_t frameHeight() const { return frameHeight_; }
  int32_t columns() const { return columns_; }
  int32_t rows() const { return rows_; }
  int32_t column() const { return column_; }
  int32_t row() const { return row_; }
  int32_t loopCount() const { return loopCount_; }
  int32_t prevX() const { return prevX_; }
  int32_t prevY() const { return prevY_; }
  SpriteSheet* sheet() const { return sheet_; }
  int32_t sheetShared() const { return sheetShared_; }

  // Reads the sheet's frame grid: frame size along row 2 and down column 1,
  // then the number of columns and rows.
  void measureFrames();
  // One movement step along the direction, with the horizontal wrap.
  void move();
  // One animation call: Sequential or Directional step.
  void advanceFrame();
  // Advances the animation, then draws the current frame.
  void drawAnimated(platform::Surface& target);
  // Draws the current frame without advancing.
  void draw(platform::Surface& target);

 private:
  void reset();
  void blitCurrentFrame(platform::Surface& target) const;
  void sequentialStep();
  void directionalStep();

  const Display* display_;
  SpriteSheet* sheet_ = nullptr;
  int32_t sheetShared_ = 1;
  AnimationMode mode_ = AnimationMode::Sequential;
  int32_t columns_ = 0;
  int32_t rows_ = 0;
  int32_t column_ = 1;
  int32_t row_ = 0;
  int32_t x_ = 0;
  int32_t y_ = 0;
  int32_t frameWidth_ = 0;
  int32_t frameHeight_ = 0;
  int32_t wrap_ = 0;
  Direction direction_ = Direction::None;
  int32_t speed_ = 1;
  int32_t prevX_ = 0;
  int32_t prevY_ = 0;
  int32_t delayCounter_ = 0;
  int32_t delay_ = 3;
  int32_t loopCount_ = 0;
};

}  // namespace grazefall
