// Reading and writing options records in the settings store, and the four
// procedures built on it: the saver's start-up load, the dialog's preparation
// of the store, the scenario switch and the save on OK.
#pragma once

#include <cstdint>
#include <string_view>

#include "options/options.h"

namespace grazefall {

// Each returns platform::kOk (0) or platform::kEFail.
int32_t ReadOptions(ScenarioOptions& record, std::string_view valueName);
int32_t WriteOptions(const ScenarioOptions& record, std::string_view valueName);
int32_t DeleteOptionsValue(std::string_view valueName);

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
void SwitchScenario(std::string_view target);
// Writes activeOptions to "Options".
void SaveActiveOptions();

}  // namespace grazefall
