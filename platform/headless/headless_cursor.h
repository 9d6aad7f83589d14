// A cursor in memory: a position a test sets, and counts of how often its
// image was hidden and where its display count stands.
#pragma once

#include <cstdint>

#include "platform/cursor.h"

namespace grazefall::platform {

class HeadlessCursor : public Cursor {
 public:
  // --- What a test arranges ---
  void moveTo(int32_t x, int32_t y) { position_ = Point{x, y}; }

  // --- What a test reads back ---
  int32_t imageHides() const { return imageHides_; }
  int32_t displayCount() const { return displayCount_; }

  // --- Cursor ---
  Point position() override { return position_; }
  void hideImage() override { ++imageHides_; }
  int32_t show(bool show) override {
    displayCount_ += show ? 1 : -1;
    return displayCount_;
  }

 private:
  Point position_{};
  int32_t imageHides_ = 0;
  int32_t displayCount_ = 0;
};

}  // namespace grazefall::platform
