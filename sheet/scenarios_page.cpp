#include "sheet/scenarios_page.h"

#include <array>
#include <string_view>

#include "options/options.h"
#include "options/options_store.h"
#include "sheet/page_ids.h"

namespace grazefall {
namespace {

using namespace scenarios_ids;

struct ScenarioRow {
  std::string_view name;
  int32_t banner;
  int32_t unselected;
  int32_t selected;
};

// In the order the selection is committed.
constexpr std::array<ScenarioRow, 4> kRows{{
    {"Classic", kClassicBanner, kClassicUnselected, kClassicSelected},
    {"Invasion", kInvasionBanner, kInvasionUnselected, kInvasionSelected},
    {"Halloween", kHalloweenBanner, kHalloweenUnselected, kHalloweenSelected},
    {"Custom", kCustomBanner, kCustomUnselected, kCustomSelected},
}};

void MarkRow(ControlModel& controls, const ScenarioRow& row, bool marked) {
  controls.setShown(row.selected, marked);
  controls.setShown(row.unselected, !marked);
}

}  // namespace

void ShowScenarioSelection(ControlModel& controls) {
  const std::string_view active = ScenarioNameOf(activeOptions);
  for (const ScenarioRow& row : kRows) MarkRow(controls, row, row.name == active);
}

void CommitScenarioSelection(OptionsStore& store, const ControlModel& controls) {
  const std::string_view active = ScenarioNameOf(activeOptions);
  for (const ScenarioRow& row : kRows) {
    if (controls.isShown(row.selected) && row.name != active) {
      SwitchScenario(store, row.name);
      return;
    }
  }
}

void ScenariosPage::initialize(ControlModel& controls, SheetServices& services) {
  PrepareOptionsStore(store_, services.displayModes());
  ShowScenarioSelection(controls);
}

void ScenariosPage::command(int32_t id, int32_t /*notifyCode*/, ControlModel& controls,
                            SheetServices& /*services*/) {
  const ScenarioRow* clicked = nullptr;
  for (const ScenarioRow& row : kRows) {
    if (id == row.banner || id == row.unselected) clicked = &row;
  }
  if (clicked == nullptr) return;
  for (const ScenarioRow& row : kRows) MarkRow(controls, row, &row == clicked);
}

void ScenariosPage::fill(ControlModel& controls, SheetServices& /*services*/) {
  ShowScenarioSelection(controls);
}

void ScenariosPage::read(ControlModel& controls) {
  CommitScenarioSelection(store_, controls);
}

void ScenariosPage::apply(ControlModel& controls) {
  CommitScenarioSelection(store_, controls);
  SaveActiveOptions(store_);
}

}  // namespace grazefall
