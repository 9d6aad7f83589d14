// The Herd and Wind pages: the Custom test, the value labels as what is read
// back, and stored values outside every range (the ranges and radio codes
// themselves are in control_mapping_test.cpp).
#include <gtest/gtest.h>

#include "sheet/herd_page.h"
#include "sheet/page_ids.h"
#include "tests/sheet/page_test_support.h"

namespace grazefall::page_testing {
namespace {

class HerdPageTest : public SheetTest {};
class WindPageTest : public SheetTest {};

TEST_F(HerdPageTest, ClassicShowsItsValuesDisabledAndLeavingChangesNothing) {
  using namespace herd_ids;
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kHerdPage);
  ControlModel& herd = page(kHerdPage);

  EXPECT_EQ(herd.text(kHerdLabel), "10");
  EXPECT_EQ(herd.position(kHerdSlider), 10);
  EXPECT_EQ(herd.text(kSpeedLabel), "0");
  EXPECT_TRUE(herd.isChecked(kLarge));
  EXPECT_TRUE(herd.isChecked(kHeadingDownButton));
  for (int32_t id :
       {kHerdSlider, kSpeedSlider, kTiny, kMedium, kLarge, kRandomSize, kHeadingUpButton,
        kHeadingDownButton, kHeadingLeftButton, kHeadingRightButton}) {
    EXPECT_FALSE(herd.isEnabled(id)) << id;
  }
  EXPECT_TRUE(herd.isEnabled(kHerdLabel));

  const ScenarioOptions before = activeOptions;
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(std::memcmp(&before, &activeOptions, sizeof before), 0);
}

TEST_F(HerdPageTest, AnOutOfRangeHerdSizeIsKeptUntilASliderMoves) {
  using namespace herd_ids;
  ScenarioOptions odd = customPreset;
  odd.herdSize = 50000;
  storeOptions(odd);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kHerdPage);
  ControlModel& herd = page(kHerdPage);

  // Leaving without touching a slider keeps the label's value.
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.herdSize, 50000);

  // Moving the speed slider rewrites the herd label from its slider too.
  sheet.selectPage(kHerdPage);
  herd.setPosition(kSpeedSlider, 3);
  sheet.sliderMoved();
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.herdSize, 10000);
  EXPECT_EQ(activeOptions.fallSpeed, 3);
}

TEST_F(HerdPageTest, ANegativeHerdSizeReadsBackAsZeroLikeAnUnsignedItem) {
  using namespace herd_ids;
  ScenarioOptions odd = customPreset;
  odd.herdSize = -7;
  storeOptions(odd);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kHerdPage);
  EXPECT_EQ(page(kHerdPage).text(kHerdLabel), "-7");
  EXPECT_EQ(page(kHerdPage).position(kHerdSlider), kHerdSizeRange.lowest);
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.herdSize, 0);
}

TEST_F(WindPageTest, AnyNonZeroWrapShowsCheckedAndIsStoredAsOne) {
  using namespace wind_ids;
  ScenarioOptions odd = customPreset;
  odd.windPower = 3;
  odd.wrapCows = 5;
  storeOptions(odd);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kWindPage);
  ControlModel& wind = page(kWindPage);
  EXPECT_TRUE(wind.isChecked(kWrapCows));
  EXPECT_FALSE(wind.isChecked(kConstantWind));
  EXPECT_EQ(wind.text(kPowerLabel), "3");
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.wrapCows, 1);
  EXPECT_EQ(activeOptions.windPower, 3);
}

TEST_F(WindPageTest, SwitchingToClassicReplacesRUpByRandom) {
  using namespace wind_ids;
  storeOptions(customPreset);  // R-Up
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kWindPage);
  EXPECT_TRUE(page(kWindPage).isChecked(kRandomUp));
  EXPECT_TRUE(page(kWindPage).isEnabled(kRandomUp));

  sheet.selectPage(kScenariosPage);
  sheet.command(scenarios_ids::kClassicBanner);
  sheet.selectPage(kWindPage);
  ControlModel& wind = page(kWindPage);
  EXPECT_TRUE(wind.isChecked(kRandom));
  EXPECT_FALSE(wind.isChecked(kRandomUp));
  EXPECT_FALSE(wind.isEnabled(kRandom));
  EXPECT_FALSE(wind.isEnabled(kWrapCows));
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.windDirection, 0);
}

TEST_F(WindPageTest, PowerSliderWritesItsLabel) {
  using namespace wind_ids;
  storeOptions(customPreset);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kWindPage);
  page(kWindPage).setPosition(kPowerSlider, 4);
  sheet.sliderMoved();
  EXPECT_EQ(page(kWindPage).text(kPowerLabel), "4");
  page(kWindPage).setChecked(kConstantWind, true);
  sheet.ok();
  const ScenarioOptions saved = StoredOptions(platform_.memoryStore, "Options");
  EXPECT_EQ(saved.windPower, 4);
  EXPECT_EQ(saved.constantWind, 1);
}

}  // namespace
}  // namespace grazefall::page_testing
