#include "sprites/text_font.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

namespace grazefall {
namespace {

TEST(TextFont, TheHerdsFaceIsMadeByThePlatform) {
  platform::HeadlessPlatform headless;
  TextFont font(headless, "Lucida Console", 10, 100);
  EXPECT_NE(font.handle(), nullptr);
}

}  // namespace
}  // namespace grazefall
