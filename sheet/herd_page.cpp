#include "sheet/herd_page.h"

#include <array>

#include "options/options.h"
#include "sheet/page_ids.h"
#include "sheet/radio_group.h"

namespace grazefall {
namespace {

using namespace herd_ids;

// In the order the page reads them back; the last stands for any other code.
constexpr std::array<RadioChoice, 4> kCowSizes{{
    {kTiny, kCowTiny},
    {kMedium, kCowMedium},
    {kLarge, kCowLarge},
    {kRandomSize, kCowRandom},
}};
constexpr std::array<RadioChoice, 4> kHeadings{{
    {kHeadingDownButton, kHeadingDown},
    {kHeadingUpButton, kHeadingUp},
    {kHeadingLeftButton, kHeadingLeft},
    {kHeadingRightButton, kHeadingRight},
}};

}  // namespace

void HerdPage::sliderMoved(ControlModel& controls) {
  controls.setInt(kHerdLabel, controls.position(kHerdSlider), false);
  controls.setInt(kSpeedLabel, controls.position(kSpeedSlider), true);
}

void HerdPage::fill(ControlModel& controls, SheetServices& /*services*/) {
  const bool editable = CustomScenarioActive();

  controls.setInt(kHerdLabel, activeOptions.herdSize, true);
  controls.setRange(kHerdSlider, kHerdSizeRange.lowest, kHerdSizeRange.highest);
  controls.setPosition(kHerdSlider, activeOptions.herdSize);
  controls.setEnabled(kHerdSlider, editable);

  controls.setInt(kSpeedLabel, activeOptions.fallSpeed, true);
  controls.setRange(kSpeedSlider, kFallSpeedRange.lowest, kFallSpeedRange.highest);
  controls.setPosition(kSpeedSlider, activeOptions.fallSpeed);
  controls.setEnabled(kSpeedSlider, editable);

  CheckRadioChoice(controls, kCowSizes, activeOptions.cowSize);
  EnableRadioGroup(controls, kCowSizes, editable);
  CheckRadioChoice(controls, kHeadings, activeOptions.heading);
  EnableRadioGroup(controls, kHeadings, editable);
}

// Read whether or not the controls are enabled: for a fixed scenario this
// writes back the values the page was filled with.
void HerdPage::read(ControlModel& controls) {
  activeOptions.herdSize = controls.readInt(kHerdLabel, false);
  activeOptions.fallSpeed = controls.readInt(kSpeedLabel, true);
  activeOptions.cowSize = CheckedRadioChoice(controls, kCowSizes);
  activeOptions.heading = CheckedRadioChoice(controls, kHeadings);
}

}  // namespace grazefall
