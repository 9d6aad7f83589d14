// The sheet's page protocol and the Scenarios page: when a chosen scenario
// reaches activeOptions and the store, and what OK and Cancel write.
#include <gtest/gtest.h>

#include "sheet/page_ids.h"
#include "tests/sheet/page_test_support.h"

namespace grazefall::page_testing {
namespace {

using namespace scenarios_ids;

class ScenariosPageTest : public SheetTest {};

std::vector<bool> SelectedRows(const ControlModel& controls) {
  return {controls.isShown(kClassicSelected), controls.isShown(kInvasionSelected),
          controls.isShown(kHalloweenSelected), controls.isShown(kCustomSelected)};
}
std::vector<bool> UnselectedRows(const ControlModel& controls) {
  return {controls.isShown(kClassicUnselected), controls.isShown(kInvasionUnselected),
          controls.isShown(kHalloweenUnselected), controls.isShown(kCustomUnselected)};
}

TEST_F(ScenariosPageTest, FirstRunSeedsTheStoreAndMarksClassic) {
  platform_.display.current = {1280, 1024, 24};
  openSheet();
  EXPECT_EQ(platform_.memoryStore.values().size(), 5u);
  EXPECT_EQ(ScenarioNameOf(activeOptions), "Classic");
  EXPECT_EQ(activeOptions.screenWidth, 1280);
  EXPECT_EQ(SelectedRows(page(kScenariosPage)), (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(UnselectedRows(page(kScenariosPage)), (std::vector<bool>{false, true, true, true}));
}

TEST_F(ScenariosPageTest, ClickingARowMarksItOnScreenOnly) {
  storeOptions(customPreset);
  PropertySheet& sheet = openSheet();
  const int writesBefore = platform_.memoryStore.writes();

  sheet.command(kHalloweenBanner);
  EXPECT_EQ(SelectedRows(page(kScenariosPage)), (std::vector<bool>{false, false, true, false}));
  sheet.command(kClassicUnselected);
  EXPECT_EQ(SelectedRows(page(kScenariosPage)), (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(UnselectedRows(page(kScenariosPage)), (std::vector<bool>{false, true, true, true}));
  // The marked rings do not report clicks; the banner of the marked row is harmless.
  sheet.command(kClassicBanner);
  EXPECT_EQ(SelectedRows(page(kScenariosPage)), (std::vector<bool>{true, false, false, false}));

  EXPECT_EQ(ScenarioNameOf(activeOptions), "Custom");
  EXPECT_EQ(platform_.memoryStore.writes(), writesBefore);
}

TEST_F(ScenariosPageTest, CancelAfterClickingABannerWritesNothing) {
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  const auto before = platform_.memoryStore.values();
  const int writesBefore = platform_.memoryStore.writes();

  sheet.command(kInvasionBanner);
  sheet.cancel();

  EXPECT_EQ(platform_.memoryStore.writes(), writesBefore);
  EXPECT_EQ(platform_.memoryStore.values(), before);
}

TEST_F(ScenariosPageTest, LeavingCustomForInvasionStoresCustomAtOnceAndShowsInvasion) {
  ScenarioOptions edited = customPreset;
  edited.herdSize = 777;
  storeOptions(edited);
  PropertySheet& sheet = openSheet();

  sheet.command(kInvasionBanner);
  sheet.selectPage(kHerdPage);

  EXPECT_EQ(StoredOptions(platform_.memoryStore, "Custom").herdSize, 777);
  EXPECT_EQ(ScenarioNameOf(activeOptions), "Invasion");
  ControlModel& herd = page(kHerdPage);
  EXPECT_EQ(herd.text(herd_ids::kHerdLabel), "500");
  EXPECT_FALSE(herd.isEnabled(herd_ids::kHerdSlider));
  EXPECT_TRUE(herd.isChecked(herd_ids::kRandomSize));
  EXPECT_FALSE(herd.isEnabled(herd_ids::kRandomSize));

  // Cancel does not take back the Custom record written by the switch.
  sheet.cancel();
  EXPECT_EQ(StoredOptions(platform_.memoryStore, "Custom").herdSize, 777);
  EXPECT_EQ(ScenarioNameOf(StoredOptions(platform_.memoryStore, "Options")), "Custom");
}

TEST_F(ScenariosPageTest, OkSavesTheChosenScenarioWithTheUsersResolutionAndBackground) {
  ScenarioOptions mine = classicPreset;
  mine.screenWidth = 1600;
  mine.screenHeight = 900;
  mine.screenBitDepth = 32;
  mine.backgroundMode = 2;
  SetBackgroundPath(mine, "/pictures/field.bmp");
  storeOptions(mine);
  PropertySheet& sheet = openSheet();

  sheet.command(kHalloweenUnselected);
  sheet.ok();

  const ScenarioOptions saved = StoredOptions(platform_.memoryStore, "Options");
  EXPECT_EQ(ScenarioNameOf(saved), "Halloween");
  EXPECT_EQ(saved.herdSize, 200);
  EXPECT_EQ(saved.explodeCows, 1);
  EXPECT_EQ(saved.screenWidth, 1600);
  EXPECT_EQ(saved.screenHeight, 900);
  EXPECT_EQ(saved.screenBitDepth, 32);
  EXPECT_EQ(BackgroundPathOf(saved), "/pictures/field.bmp");
  EXPECT_EQ(saved.backgroundMode, 2);
}

TEST_F(ScenariosPageTest, OkOnAnotherPageSavesThatPagesEditsToo) {
  storeOptions(customPreset);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kHerdPage);
  ControlModel& herd = page(kHerdPage);
  herd.setPosition(herd_ids::kHerdSlider, 1234);
  sheet.sliderMoved();

  // OK from the Herd page: it is left (and read) before the Scenarios page saves.
  sheet.ok();
  EXPECT_EQ(StoredOptions(platform_.memoryStore, "Options").herdSize, 1234);
}

TEST_F(ScenariosPageTest, AnUnknownScenarioNameMarksNoRowAndLeavingChangesNothing) {
  ScenarioOptions odd = customPreset;
  std::memcpy(odd.scenarioName, "custom\0\0\0\0\0\0\0\0\0", kScenarioNameSize);
  odd.herdSize = 4321;
  storeOptions(odd);
  PropertySheet& sheet = openSheet();

  EXPECT_EQ(SelectedRows(page(kScenariosPage)), (std::vector<bool>{false, false, false, false}));
  sheet.selectPage(kLiffPage);
  EXPECT_EQ(ScenarioNameOf(activeOptions), "custom");
  EXPECT_EQ(activeOptions.herdSize, 4321);
}

TEST_F(ScenariosPageTest, AnUnterminatedScenarioNameIsReadWithinItsField) {
  ScenarioOptions odd = customPreset;
  std::memset(odd.scenarioName, 'C', kScenarioNameSize);
  storeOptions(odd);
  PropertySheet& sheet = openSheet();
  EXPECT_EQ(SelectedRows(page(kScenariosPage)), (std::vector<bool>{false, false, false, false}));
  sheet.command(kCustomBanner);
  sheet.ok();
  EXPECT_EQ(ScenarioNameOf(StoredOptions(platform_.memoryStore, "Options")), "Custom");
}

TEST_F(ScenariosPageTest, ProtocolResultsFollowTheNotificationCode) {
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  PageProcedure& liff = sheet.procedure(kLiffPage);
  ControlModel& controls = page(kLiffPage);

  EXPECT_EQ(liff.notify(kPsnSetActive, controls, services_), (NotifyResult{false, false, 0}));
  EXPECT_EQ(liff.notify(kPsnKillActive, controls, services_), (NotifyResult{true, true, 0}));
  EXPECT_EQ(liff.notify(kPsnApply, controls, services_), (NotifyResult{true, true, 0}));
  EXPECT_EQ(liff.notify(kPsnReset, controls, services_), (NotifyResult{false, true, 0}));
  EXPECT_EQ(liff.notify(-204, controls, services_), (NotifyResult{false, false, 0}));
  EXPECT_EQ(services_.helpOpened, 0);
  EXPECT_EQ(liff.notify(kPsnHelp, controls, services_), (NotifyResult{false, true, 2}));
  EXPECT_EQ(services_.helpOpened, 1);

  sheet.selectPage(kWindPage);
  sheet.help();
  EXPECT_EQ(services_.helpOpened, 2);
}

TEST_F(ScenariosPageTest, PagesAreCreatedWhenFirstShown) {
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  EXPECT_TRUE(sheet.isCreated(kScenariosPage));
  EXPECT_FALSE(sheet.isCreated(kEffectsPage));
  sheet.selectPage(kEffectsPage);
  EXPECT_TRUE(sheet.isCreated(kEffectsPage));
  EXPECT_FALSE(sheet.isCreated(kHerdPage));
  EXPECT_EQ(sheet.currentPage(), kEffectsPage);
}

}  // namespace
}  // namespace grazefall::page_testing
