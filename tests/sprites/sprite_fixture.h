// A headless display of a chosen mode and sheets drawn for it, shared by the
// sprite engine's tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/headless/headless_platform.h"
#include "runtime/display.h"
#include "sprites/sprite_sheet.h"
#include "tests/support/test_sheets.h"

namespace grazefall {

class SpriteFixture {
 protected:
  // Opens the display at width x height x bitDepth; false when it fails.
  bool openDisplay(int32_t width, int32_t height, int32_t bitDepth) {
    headless.setOfferedModes({platform::DisplayMode{width, height, bitDepth}});
    display.width = width;
    display.height = height;
    display.bitDepth = bitDepth;
    return OpenDisplay(display, headless, 1);
  }

  // A sheet loaded through the display like the program's own pictures.
  std::unique_ptr<SpriteSheet> loadSheet(const platform::Picture& picture) {
    headless.addResourcePicture(nextResource, picture);
    return std::make_unique<SpriteSheet>(display, nextResource++);
  }
  std::unique_ptr<SpriteSheet> loadSheet(const testing::SheetLayout& layout) {
    return loadSheet(testing::DrawSheet(layout));
  }

  platform::HeadlessPlatform headless;
  Display display;
  int32_t nextResource = 5000;
};

}  // namespace grazefall
