// Every slider's range and every radio group's buttons against the stored
// codes, both ways: what a stored value shows, and what each control stores.
// The numbers are written out here rather than taken from the pages.
#include <gtest/gtest.h>

#include <vector>

#include "sheet/page_ids.h"
#include "tests/sheet/page_test_support.h"

namespace grazefall::page_testing {
namespace {

struct SliderCase {
  const char* name;
  size_t page;
  int32_t slider;
  int32_t label;
  int32_t ScenarioOptions::*field;
  int32_t minimum;
  int32_t maximum;
};

const SliderCase kSliders[] = {
    {"herd size", kHerdPage, herd_ids::kHerdSlider, herd_ids::kHerdLabel,
     &ScenarioOptions::herdSize, 1, 10000},
    {"falling speed", kHerdPage, herd_ids::kSpeedSlider, herd_ids::kSpeedLabel,
     &ScenarioOptions::fallSpeed, -5, 5},
    {"wind power", kWindPage, wind_ids::kPowerSlider, wind_ids::kPowerLabel,
     &ScenarioOptions::windPower, 0, 10},
};

struct RadioCase {
  const char* name;
  size_t page;
  int32_t ScenarioOptions::*field;
  // Button and the code it stands for; the last also stands for any other
  // code, which `outside` is.
  std::vector<std::pair<int32_t, int32_t>> choices;
  int32_t outside;
};

const RadioCase kRadios[] = {
    {"cow size",
     kHerdPage,
     &ScenarioOptions::cowSize,
     {{herd_ids::kTiny, 1},
      {herd_ids::kMedium, 2},
      {herd_ids::kLarge, 3},
      {herd_ids::kRandomSize, 4}},
     9},
    {"heading",
     kHerdPage,
     &ScenarioOptions::heading,
     {{herd_ids::kHeadingDownButton, 4},
      {herd_ids::kHeadingUpButton, 2},
      {herd_ids::kHeadingLeftButton, 3},
      {herd_ids::kHeadingRightButton, 1}},
     -3},
    {"wind direction",
     kWindPage,
     &ScenarioOptions::windDirection,
     {{wind_ids::kLeft, 3},
      {wind_ids::kRight, 1},
      {wind_ids::kUp, 2},
      {wind_ids::kDown, 4},
      {wind_ids::kRandomUp, -1},
      {wind_ids::kRandomDown, -2},
      {wind_ids::kRandomLeft, -3},
      {wind_ids::kRandomRight, -4},
      {wind_ids::kRandom, 0}},
     7},
    {"background mode",
     kBackgroundPage,
     &ScenarioOptions::backgroundMode,
     {{background_ids::kCenter, 1},
      {background_ids::kStretch, 2},
      {background_ids::kNoBackground, 0}},
     5},
};

class ControlMapping : public SheetTest {
 protected:
  // A sheet on `page` over Custom with one field changed.
  ControlModel& openWith(size_t pageIndex, int32_t ScenarioOptions::*field, int32_t value) {
    ScenarioOptions options = customPreset;
    options.*field = value;
    storeOptions(options);
    openSheet().selectPage(pageIndex);
    return page(pageIndex);
  }
  // Leaves the page and returns what it stored.
  int32_t storedAfterLeaving(int32_t ScenarioOptions::*field) {
    activeOptions.*field = 12345;
    sheet_->selectPage(kXanaduPage);
    return activeOptions.*field;
  }
};

TEST_F(ControlMapping, SlidersSpanTheirRangeAndStoreEachEnd) {
  for (const SliderCase& c : kSliders) {
    SCOPED_TRACE(c.name);
    ControlModel& controls = openWith(c.page, c.field, c.minimum + 1);
    EXPECT_TRUE(controls.isEnabled(c.slider));
    EXPECT_EQ(controls.at(c.slider).rangeMin, c.minimum);
    EXPECT_EQ(controls.at(c.slider).rangeMax, c.maximum);
    EXPECT_EQ(controls.position(c.slider), c.minimum + 1);

    // Dragged past either end, the slider stops there and stores the end.
    for (const auto& [dragged, end] :
         {std::pair{c.maximum + 50, c.maximum}, std::pair{c.minimum - 50, c.minimum}}) {
      controls.setPosition(c.slider, dragged);
      sheet_->sliderMoved();
      EXPECT_EQ(controls.text(c.label), std::to_string(end));
      EXPECT_EQ(storedAfterLeaving(c.field), end);
      sheet_->selectPage(c.page);
    }
  }
}

TEST_F(ControlMapping, AStoredValueOutsideTheRangeShowsAsTheNearestEnd) {
  for (const SliderCase& c : kSliders) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(openWith(c.page, c.field, c.maximum + 7).position(c.slider), c.maximum);
    EXPECT_EQ(page(c.page).text(c.label), std::to_string(c.maximum + 7));
    EXPECT_EQ(openWith(c.page, c.field, c.minimum - 3).position(c.slider), c.minimum);
  }
}

TEST_F(ControlMapping, EachStoredCodeChecksExactlyItsButtonAndIsStoredBackAsShown) {
  for (const RadioCase& c : kRadios) {
    std::vector<std::pair<int32_t, int32_t>> shown = c.choices;
    shown.emplace_back(c.choices.back().first, c.outside);
    for (const auto& [button, code] : shown) {
      SCOPED_TRACE(std::string(c.name) + " code " + std::to_string(code));
      ControlModel& controls = openWith(c.page, c.field, code);
      for (const auto& [other, otherCode] : c.choices) {
        EXPECT_EQ(controls.isChecked(other), other == button) << other;
      }
      // Left untouched, the page stores the code of the button it showed.
      EXPECT_EQ(storedAfterLeaving(c.field), code == c.outside ? c.choices.back().second : code);
    }
  }
}

TEST_F(ControlMapping, EachCheckedButtonStoresItsCode) {
  for (const RadioCase& c : kRadios) {
    for (size_t i = 0; i < c.choices.size(); ++i) {
      const auto [button, code] = c.choices[i];
      SCOPED_TRACE(std::string(c.name) + " code " + std::to_string(code));
      // Opened on another button's code, so the page cannot simply echo it.
      ControlModel& controls =
          openWith(c.page, c.field, c.choices[(i + 1) % c.choices.size()].second);
      for (const auto& [other, otherCode] : c.choices) controls.setChecked(other, other == button);
      EXPECT_EQ(storedAfterLeaving(c.field), code);
    }
  }
}

}  // namespace
}  // namespace grazefall::page_testing
