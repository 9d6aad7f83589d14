// Reading and writing options records in the settings store, and the four
// procedures built on it: the saver's start-up load, the dialog's preparation
// of the store, the scenario switch and the save on OK.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "options/options.h"
#include "platform/display_device.h"
#include "platform/platform.h"
#include "platform/settings_store.h"

namespace grazefall {

// A write or removal of an options value that failed: where the store keeps
// its values and the system's reason, as the store tells them (either may be
// empty).
struct StoreFailure {
  std::string location;
  std::string reason;
};

// The store the settings sheet writes through, and the first of its writes
// or removals that failed since TakeStoreFailure last asked.
struct OptionsStore {
  explicit OptionsStore(platform::SettingsStore& store) : settings(store) {}
  platform::SettingsStore& settings;
  std::optional<StoreFailure> firstFailure;
};

// Each returns platform::kOk (0) or platform::kEFail.
int32_t ReadOptions(platform::SettingsStore& store, ScenarioOptions& record,
                    std::string_view valueName);
int32_t WriteOptions(OptionsStore& store, const ScenarioOptions& record,
                     std::string_view valueName);
int32_t DeleteOptionsValue(OptionsStore& store, std::string_view valueName);

// The first write or removal that failed since the last call, which then
// forgets it; nullopt when none failed.
std::optional<StoreFailure> TakeStoreFailure(OptionsStore& store);

// Puts the display's current mode into the resolution fields of
// activeOptions; leaves them as they were when there is no display or its
// mode cannot be read.
void QueryCurrentDisplayMode(platform::DisplayModes* display);

// The saver's load at window creation: "Options" from the platform's store,
// else the compiled-in record with the current mode of the platform's display.
void LoadSaverOptions(platform::Platform& system);
// The dialog's first step: seeds the store on a first run or after a record
// of another version (with the display's current mode), and loads "Options"
// into activeOptions.
void PrepareOptionsStore(OptionsStore& store, platform::DisplayModes* display);
// Switches activeOptions to a scenario, carrying resolution and background.
// Leaving Custom first stores the Custom record; when that write fails the
// switch does not happen (the user's Custom settings would be lost) and the
// result is kEFail.
int32_t SwitchScenario(OptionsStore& store, std::string_view target);
// Writes activeOptions to "Options"; kOk or kEFail.
int32_t SaveActiveOptions(OptionsStore& store);

}  // namespace grazefall
