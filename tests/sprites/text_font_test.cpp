#include "sprites/text_font.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

namespace grazefall {
namespace {

TEST(TextFont, TheHerdsFaceIsMadeByThePlatform) {
  platform::ScopedHeadlessPlatform headless;
  TextFont font("Lucida Console", 10, 100);
  EXPECT_NE(font.handle(), nullptr);
}

TEST(TextFont, NoPlatformMeansNoHandle) {
  TextFont font("Lucida Console", 10, 100);
  EXPECT_EQ(font.handle(), nullptr);
}

}  // namespace
}  // namespace grazefall
