#include "sheet/radio_group.h"

namespace grazefall {

void CheckRadioChoice(ControlModel& controls, std::span<const RadioChoice> group, int32_t code) {
  if (group.empty()) return;
  for (const RadioChoice& choice : group) controls.setChecked(choice.button, false);
  for (const RadioChoice& choice : group) {
    if (choice.code == code) {
      controls.setChecked(choice.button, true);
      return;
    }
  }
  controls.setChecked(group.back().button, true);
}

int32_t CheckedRadioChoice(const ControlModel& controls, std::span<const RadioChoice> group) {
  if (group.empty()) return 0;
  for (size_t i = 0; i + 1 < group.size(); ++i) {
    if (controls.isChecked(group[i].button)) return group[i].code;
  }
  return group.back().code;
}

void EnableRadioGroup(ControlModel& controls, std::span<const RadioChoice> group, bool enabled) {
  for (const RadioChoice& choice : group) controls.setEnabled(choice.button, enabled);
}

}  // namespace grazefall
