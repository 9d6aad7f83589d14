// The dialog pictures that have to fit each other: the credits picture hides
// its six cows exactly where the page puts their click targets, and the two
// clue pictures carry the same text, one turned over.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/headless/headless_platform.h"

namespace grazefall {
namespace {

// Dialog units to pixels with the dialog's base units of 6 x 13 pixels.
int32_t DluX(int32_t units) {
  return static_cast<int32_t>(std::floor(units * 6 / 4.0 + 0.5));
}
int32_t DluY(int32_t units) {
  return static_cast<int32_t>(std::floor(units * 13 / 8.0 + 0.5));
}

TEST(PageArt, HiddenCowsSitUnderTheirClickTargetsInTheCredits) {
  platform::HeadlessPlatform headless;
  const auto credits = headless.loadResourcePicture(137);
  const auto cow = headless.loadResourcePicture(146);
  ASSERT_TRUE(credits.has_value() && cow.has_value());
  // The credits picture stands at (10, 4) dialog units; the hot spots at:
  const int32_t spots[6][2] = {{202, 41}, {235, 36}, {212, 26}, {245, 17}, {216, 56}, {243, 80}};
  for (const auto& spot : spots) {
    SCOPED_TRACE(::testing::Message() << spot[0] << "," << spot[1]);
    const int32_t left = DluX(spot[0]) - DluX(10);
    const int32_t top = DluY(spot[1]) - DluY(4);
    ASSERT_LE(left + cow->width, credits->width);
    ASSERT_LE(top + cow->height, credits->height);
    int32_t mismatches = 0;
    for (int32_t y = 0; y < cow->height; ++y) {
      for (int32_t x = 0; x < cow->width; ++x) {
        mismatches += credits->at(left + x, top + y) != cow->at(x, y) ? 1 : 0;
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

TEST(PageArt, UpsideDownClueIsTheUprightClueTurnedOver) {
  platform::HeadlessPlatform headless;
  const auto upright = headless.loadResourcePicture(157);
  const auto turned = headless.loadResourcePicture(156);
  ASSERT_TRUE(upright.has_value() && turned.has_value());
  ASSERT_EQ(upright->width, turned->width);
  ASSERT_EQ(upright->height, turned->height);
  const int32_t w = upright->width;
  const int32_t h = upright->height;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      ASSERT_EQ(turned->at(x, y), upright->at(w - 1 - x, h - 1 - y)) << x << "," << y;
    }
  }
  // And it is not symmetric, so the two really read differently.
  EXPECT_NE(turned->pixels, upright->pixels);
}

}  // namespace
}  // namespace grazefall
