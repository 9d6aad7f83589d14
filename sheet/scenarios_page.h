// The first page: choosing the scenario. A click only marks a row; leaving
// the page (or OK) switches activeOptions to the marked scenario, and OK
// saves activeOptions as the options the saver runs with.
#pragma once

#include "options/options_store.h"
#include "sheet/page_procedure.h"

namespace grazefall {

class ScenariosPage : public PageProcedure {
 public:
  // The page reads, switches and saves the records in `store`.
  explicit ScenariosPage(OptionsStore& store) : store_(store) {}

  // Prepares the store and marks the active scenario's row.
  void initialize(ControlModel& controls, SheetServices& services) override;
  // A banner or an unmarked ring marks that row on screen only.
  void command(int32_t id, int32_t notifyCode, ControlModel& controls,
               SheetServices& services) override;

 protected:
  void fill(ControlModel& controls, SheetServices& services) override;
  void read(ControlModel& controls) override;
  void apply(ControlModel& controls) override;

 private:
  OptionsStore& store_;
};

// Marks the row of activeOptions' scenario; a name that is none of the four
// leaves every row unmarked.
void ShowScenarioSelection(ControlModel& controls);
// Switches activeOptions to the first marked scenario that differs from it.
void CommitScenarioSelection(OptionsStore& store, const ControlModel& controls);

}  // namespace grazefall
