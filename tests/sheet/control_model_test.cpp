// The control model's dialog-item semantics the pages depend on.
#include <gtest/gtest.h>

#include "sheet/control_model.h"
#include "sheet/page_ids.h"

namespace grazefall {
namespace {

TEST(DialogIntTest, ReadsDecimalTextAsADialogItemDoes) {
  EXPECT_EQ(ParseDialogInt("10000", false), 10000);
  EXPECT_EQ(ParseDialogInt("  42  ", false), 42);
  EXPECT_EQ(ParseDialogInt("-5", true), -5);
  EXPECT_EQ(ParseDialogInt("-5", false), 0);
  EXPECT_EQ(ParseDialogInt("", true), 0);
  EXPECT_EQ(ParseDialogInt("-", true), 0);
  EXPECT_EQ(ParseDialogInt("12abc", false), 0);
  EXPECT_EQ(ParseDialogInt("cows", true), 0);
  EXPECT_EQ(ParseDialogInt("2147483647", true), 2147483647);
  EXPECT_EQ(ParseDialogInt("-2147483648", true), INT32_MIN);
  EXPECT_EQ(ParseDialogInt("2147483648", true), 0);
  EXPECT_EQ(ParseDialogInt("4294967295", false), -1);
  EXPECT_EQ(ParseDialogInt("4294967296", false), 0);
  EXPECT_EQ(ParseDialogInt("99999999999999999999999", false), 0);
}

TEST(ControlModelTest, SlidersKeepTheirPositionInsideTheRange) {
  ControlModel herd(HerdTemplate());
  herd.setRange(herd_ids::kHerdSlider, 1, 10000);
  herd.setPosition(herd_ids::kHerdSlider, 50000);
  EXPECT_EQ(herd.position(herd_ids::kHerdSlider), 10000);
  herd.setPosition(herd_ids::kHerdSlider, -3);
  EXPECT_EQ(herd.position(herd_ids::kHerdSlider), 1);
  herd.setInt(herd_ids::kHerdLabel, -1, false);
  EXPECT_EQ(herd.text(herd_ids::kHerdLabel), "4294967295");
}

TEST(ControlModelTest, ListsSortWithoutCaseAndSelectByPrefix) {
  ControlModel background(BackgroundTemplate());
  const int32_t list = background_ids::kFileList;
  background.addString(list, "b.bmp");
  background.setSelection(list, 0);
  background.addString(list, "A.bmp");
  background.addString(list, "c.BMP");
  EXPECT_EQ(background.at(list).entries, (std::vector<std::string>{"A.bmp", "b.bmp", "c.BMP"}));
  EXPECT_EQ(background.selectedText(list), "b.bmp");  // the selection follows its entry
  EXPECT_EQ(background.findStringExact(list, "C.bmp"), 2);
  EXPECT_EQ(background.findStringExact(list, "c"), -1);

  ControlModel effects(EffectsTemplate());
  const int32_t modes = effects_ids::kModeList;
  effects.addString(modes, "800 x 600 x 16");
  effects.addString(modes, "800 x 600 x 160");
  effects.addString(modes, "640 X 480 X 8");
  EXPECT_EQ(effects.selectString(modes, "640 x 480"), 2);
  EXPECT_EQ(effects.selectString(modes, "800 x 600 x 16"), 0);  // first prefix match from the top
  EXPECT_EQ(effects.selectString(modes, "1024 x 768 x 32"), -1);
  EXPECT_EQ(effects.selection(modes), 0);
  effects.setSelection(modes, 9);
  EXPECT_EQ(effects.selectedText(modes), "");
}

TEST(ControlModelTest, TemplatesGiveStartStatesAndMissingIdsAreHarmless) {
  ControlModel scenarios(ScenariosTemplate());
  EXPECT_TRUE(scenarios.isShown(scenarios_ids::kClassicSelected));
  EXPECT_FALSE(scenarios.isShown(scenarios_ids::kClassicUnselected));
  EXPECT_EQ(scenarios.at(scenarios_ids::kHalloweenBanner).pictureId, 178);
  EXPECT_FALSE(scenarios.has(4242));
  scenarios.setText(4242, "nothing");
  EXPECT_EQ(scenarios.text(4242), "");
}

}  // namespace
}  // namespace grazefall
