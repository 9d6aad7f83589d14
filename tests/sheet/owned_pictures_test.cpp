// The pictures a front end loads into its controls are each freed once: when
// a control hands one back, or when the sheet goes; a template's own picture
// never is. Counted here as live pictures, as a leak check would count them.
#include "sheet/owned_pictures.h"

#include <gtest/gtest.h>

#include <map>

namespace grazefall {
namespace {

struct Pictures {
  // Loaded pictures still alive, by handle; a template's own are not listed.
  std::map<int, int> live;
  int next = 100;
  int load() {
    live[next] = 1;
    return next++;
  }
};

TEST(OwnedPictures, EachLoadedPictureIsFreedOnceAndTemplatePicturesNever) {
  Pictures gdi;
  int doubleFrees = 0;
  auto free = [&](int picture) {
    if (gdi.live.erase(picture) == 0) ++doubleFrees;
  };
  constexpr int kTemplatePicture = 7;
  {
    OwnedPictures<int, decltype(free)> owned(free);
    const int first = gdi.load();
    owned.swapped(first, kTemplatePicture);  // the template's own comes back: kept
    const int second = gdi.load();
    owned.swapped(second, first);  // ours comes back: freed now
    EXPECT_EQ(gdi.live.count(first), 0u);
    owned.swapped(second, second);  // the same picture given again: still shown
    owned.swapped(0, 0);            // nothing loaded, nothing handed back
    EXPECT_EQ(owned.count(), 1u);
    const int third = gdi.load();
    owned.swapped(third, 0);  // a control that showed nothing
    EXPECT_EQ(gdi.live.size(), 2u);
  }
  EXPECT_TRUE(gdi.live.empty());
  EXPECT_EQ(doubleFrees, 0);
}

}  // namespace
}  // namespace grazefall
