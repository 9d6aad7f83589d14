#include "sheet/page_procedure.h"

#include "options/options.h"

namespace grazefall {

NotifyResult PageProcedure::notify(int32_t code, ControlModel& controls, SheetServices& services) {
  switch (code) {
    case kPsnSetActive:
      fill(controls, services);
      return {false, false, 0};
    case kPsnKillActive:
      read(controls);
      return {true, true, 0};
    case kPsnApply:
      apply(controls);
      return {true, true, 0};
    case kPsnReset:
      return {false, true, 0};
    case kPsnHelp:
      services.openHelp();
      return {false, true, 2};
    default:
      return {false, false, 0};
  }
}

bool CustomScenarioActive() {
  return ScenarioNameOf(activeOptions) == "Custom";
}

}  // namespace grazefall
