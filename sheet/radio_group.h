// A radio group as the pages use it: buttons paired with the option code
// each stands for, the last button standing for every other code too.
#pragma once

#include <cstdint>
#include <span>

#include "sheet/control_model.h"

namespace grazefall {

struct RadioChoice {
  int32_t button;
  int32_t code;
};

// Clears every button, then checks the one for `code` (the last one when no
// button has that code).
void CheckRadioChoice(ControlModel& controls, std::span<const RadioChoice> group, int32_t code);
// The code of the first checked button, the last button's code when none of
// the others is checked.
int32_t CheckedRadioChoice(const ControlModel& controls, std::span<const RadioChoice> group);
void EnableRadioGroup(ControlModel& controls, std::span<const RadioChoice> group, bool enabled);

}  // namespace grazefall
