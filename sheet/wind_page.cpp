#include "sheet/wind_page.h"

#include <array>

#include "options/options.h"
#include "sheet/page_ids.h"
#include "sheet/radio_group.h"

namespace grazefall {
namespace {

using namespace wind_ids;

// One radio group of nine; "Random" stands for any code not listed.
constexpr std::array<RadioChoice, 9> kDirections{{
    {kLeft, 3},
    {kRight, 1},
    {kUp, 2},
    {kDown, 4},
    {kRandomUp, -1},
    {kRandomDown, -2},
    {kRandomLeft, -3},
    {kRandomRight, -4},
    {kRandom, 0},
}};

}  // namespace

void WindPage::sliderMoved(ControlModel& controls) {
  controls.setInt(kPowerLabel, controls.position(kPowerSlider), false);
}

void WindPage::fill(ControlModel& controls, SheetServices& /*services*/) {
  const bool editable = CustomScenarioActive();

  controls.setInt(kPowerLabel, activeOptions.windPower, true);
  controls.setRange(kPowerSlider, kWindPowerRange.lowest, kWindPowerRange.highest);
  controls.setPosition(kPowerSlider, activeOptions.windPower);
  controls.setEnabled(kPowerSlider, editable);

  CheckRadioChoice(controls, kDirections, activeOptions.windDirection);
  EnableRadioGroup(controls, kDirections, editable);

  controls.setChecked(kWrapCows, activeOptions.wrapCows != 0);
  controls.setEnabled(kWrapCows, editable);
  controls.setChecked(kConstantWind, activeOptions.constantWind != 0);
  controls.setEnabled(kConstantWind, editable);
}

void WindPage::read(ControlModel& controls) {
  activeOptions.windPower = controls.readInt(kPowerLabel, false);
  activeOptions.windDirection = CheckedRadioChoice(controls, kDirections);
  activeOptions.wrapCows = controls.isChecked(kWrapCows) ? 1 : 0;
  activeOptions.constantWind = controls.isChecked(kConstantWind) ? 1 : 0;
}

}  // namespace grazefall
