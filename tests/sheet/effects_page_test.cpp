// The Effects page: the mode list and its selection rules, the effect
// switches, and the two messages when the display cannot be asked.
#include <gtest/gtest.h>

#include "sheet/effects_page.h"
#include "sheet/page_ids.h"
#include "tests/sheet/page_test_support.h"

namespace grazefall::page_testing {
namespace {

using namespace effects_ids;

class EffectsPageTest : public SheetTest {};

TEST_F(EffectsPageTest, ListsModesInDriverOrderWithoutThoseBelowEightBits) {
  platform_.display.offered = {{1024, 768, 32}, {640, 480, 4}, {640, 480, 8}, {800, 600, 16}};
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kEffectsPage);
  EXPECT_EQ(page(kEffectsPage).at(kModeList).entries,
            (std::vector<std::string>{"1024 x 768 x 32", "640 x 480 x 8", "800 x 600 x 16"}));
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(EffectsPageTest, StoredModeIsSelectedAndReadBackExactly) {
  storeOptions(classicPreset);  // 800 x 600 x 16
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kEffectsPage);
  EXPECT_EQ(page(kEffectsPage).selectedText(kModeList), "800 x 600 x 16");
  activeOptions.screenWidth = 1;
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.screenWidth, 800);
  EXPECT_EQ(activeOptions.screenHeight, 600);
  EXPECT_EQ(activeOptions.screenBitDepth, 16);
}

TEST_F(EffectsPageTest, ClassicShowsEffectsDisabledWhileTheResolutionStaysEditable) {
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kEffectsPage);
  ControlModel& effects = page(kEffectsPage);
  EXPECT_TRUE(effects.isChecked(kPlayIntro));
  EXPECT_TRUE(effects.isChecked(kInvertedPyramid));
  EXPECT_TRUE(effects.isChecked(kConspiracyMessages));
  EXPECT_FALSE(effects.isChecked(kExplodeCows));
  EXPECT_FALSE(effects.isChecked(kTearsOfBlood));
  for (int32_t box :
       {kPlayIntro, kInvertedPyramid, kConspiracyMessages, kExplodeCows, kTearsOfBlood}) {
    EXPECT_FALSE(effects.isEnabled(box)) << box;
  }
  EXPECT_TRUE(effects.isEnabled(kModeList));
  EXPECT_TRUE(effects.isEnabled(kUseActiveResolution));

  effects.setSelection(kModeList, 2);  // 800 x 600 x 32
  sheet.ok();
  EXPECT_EQ(StoredOptions(platform_.memoryStore, "Options").screenBitDepth, 32);
  EXPECT_EQ(StoredOptions(platform_.memoryStore, "Options").screenWidth, 800);
}

TEST_F(EffectsPageTest, IntroBoxIsStoredAsPhaseZeroOrTwoNeverOne) {
  ScenarioOptions options = customPreset;
  options.introPhase = 1;
  storeOptions(options);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kEffectsPage);
  ControlModel& effects = page(kEffectsPage);
  EXPECT_FALSE(effects.isChecked(kPlayIntro));
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.introPhase, 2);
  sheet.selectPage(kEffectsPage);
  effects.setChecked(kPlayIntro, true);
  effects.setChecked(kExplodeCows, true);
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.introPhase, 0);
  EXPECT_EQ(activeOptions.explodeCows, 1);
  sheet.selectPage(kEffectsPage);
  effects.setChecked(kExplodeCows, false);
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.explodeCows, 0);
}

TEST_F(EffectsPageTest, UseActiveResolutionSelectsTheCurrentModeForOk) {
  platform_.display.current = {1024, 768, 32};
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kEffectsPage);
  sheet.command(kUseActiveResolution);
  EXPECT_EQ(page(kEffectsPage).selectedText(kModeList), "1024 x 768 x 32");
  sheet.ok();
  const ScenarioOptions saved = StoredOptions(platform_.memoryStore, "Options");
  EXPECT_EQ(saved.screenWidth, 1024);
  EXPECT_EQ(saved.screenHeight, 768);
  EXPECT_EQ(saved.screenBitDepth, 32);
}

TEST_F(EffectsPageTest, AModeMissingFromTheListKeepsTheSelectionAsItWas) {
  platform_.display.current = {1920, 1080, 32};  // not offered
  ScenarioOptions options = classicPreset;
  options.screenWidth = 1366;
  options.screenHeight = 768;
  options.screenBitDepth = 32;
  storeOptions(options);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kEffectsPage);
  EXPECT_EQ(page(kEffectsPage).selection(kModeList), -1);
  // Nothing selected: leaving keeps the record's mode rather than 0 x 0 x 0.
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.screenWidth, 1366);
  EXPECT_EQ(activeOptions.screenBitDepth, 32);

  sheet.selectPage(kEffectsPage);
  page(kEffectsPage).setSelection(kModeList, 1);  // 800 x 600 x 16
  sheet.command(kUseActiveResolution);
  EXPECT_EQ(activeOptions.screenWidth, 1920);
  EXPECT_EQ(page(kEffectsPage).selectedText(kModeList), "800 x 600 x 16");
  sheet.selectPage(kScenariosPage);
  EXPECT_EQ(activeOptions.screenWidth, 800);
}

TEST_F(EffectsPageTest, NoDisplayObjectShowsTheFirstMessageAndAnEmptyList) {
  platform_.display.creatable = false;
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kEffectsPage);
  EXPECT_EQ(services_.messages,
            (std::vector<std::string>{"Error: Error: Couldn't create DirectDraw object."}));
  EXPECT_TRUE(page(kEffectsPage).at(kModeList).entries.empty());
  // The mode list is built once: showing the page again asks nothing more.
  sheet.selectPage(kScenariosPage);
  sheet.selectPage(kEffectsPage);
  EXPECT_EQ(services_.messages.size(), 1u);
  sheet.ok();
  EXPECT_EQ(StoredOptions(platform_.memoryStore, "Options").screenWidth, 800);
}

TEST_F(EffectsPageTest, AFailedListingShowsTheSecondMessageAndKeepsWhatWasListed) {
  platform_.display.listingFails = true;
  platform_.display.offered = {{800, 600, 16}, {1024, 768, 32}};
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kEffectsPage);
  EXPECT_EQ(services_.messages,
            (std::vector<std::string>{"Error: Error: Failed enumerating display modes."}));
  EXPECT_EQ(page(kEffectsPage).at(kModeList).entries, (std::vector<std::string>{"800 x 600 x 16"}));
}

TEST(ModeTextTest, ParsesAtTheFirstTwoCrossesLikeAtoi) {
  EXPECT_EQ(ParseModeText("800 x 600 x 16"), (platform::DisplayMode{800, 600, 16}));
  EXPECT_EQ(ParseModeText(""), (platform::DisplayMode{0, 0, 0}));
  EXPECT_EQ(ParseModeText("12x34x56x78"), (platform::DisplayMode{12, 34, 56}));
  EXPECT_EQ(ParseModeText("abc x 5"), (platform::DisplayMode{0, 5, 0}));
  EXPECT_EQ(ParseModeText("x 7 x 8"), (platform::DisplayMode{0, 7, 8}));
  EXPECT_EQ(ParseModeText("99999999999999999999 x 1 x 2").width, 2147483647);
  EXPECT_EQ(FormatModeText(-1, 0, 32), "-1 x 0 x 32");
}

}  // namespace
}  // namespace grazefall::page_testing
