// Reading and writing options records in the settings store, and the four
// procedures built on it: the saver's start-up load, the dialog's preparation
// of the store, the scenario switch and the save on OK.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "options/options.h"

namespace grazefall {

// Each returns platform::kOk (0) or platform::kEFail.
int32_t ReadOptions(ScenarioOptions& record, std::string_view valueName);
int32_t WriteOptions(const ScenarioOptions& record, std::string_view valueName);
int32_t DeleteOptionsValue(std::string_view valueName);

// A write or removal of an options value that failed: where the store keeps
// its values and the system's reason, as the store tells them (either may be
// empty).
struct StoreFailure {
  std::string location;
  std::string reason;
};
// The first write or removal that failed since the last call, which then
// forgets it; nullopt when none failed.
std::optional<StoreFailure> TakeStoreFailure();

// Puts the display's current mode into the resolution fields of
// activeOptions; leaves them as they were when the mode cannot be read.
void QueryCurrentDisplayMode();

// The saver's load at window creation: "Options", else the compiled-in
// record with the current display mode.
void LoadSaverOptions();
// The dialog's first step: seeds the store on a first run or after a record
// of another version, and loads "Options" into activeOptions.
void PrepareOptionsStore();
// Switches activeOptions to a scenario, carrying resolution and background.
// Leaving Custom first stores the Custom record; when that write fails the
// switch does not happen (the user's Custom settings would be lost) and the
// result is kEFail.
int32_t SwitchScenario(std::string_view target);
// Writes activeOptions to "Options"; kOk or kEFail.
int32_t SaveActiveOptions();

}  // namespace grazefall
