// The five records a first run leaves in a settings store: each scenario's
// preset under its name, then the record the saver and the sheet open with
// as "Options".
#pragma once

#include <span>
#include <string_view>
#include <utility>

#include "options/options.h"
#include "platform/settings_store.h"
#include "platform/types.h"

namespace grazefall::testing {

// False as soon as a write fails.
inline bool StoreFirstRunRecords(platform::SettingsStore& store, const ScenarioOptions& options) {
  const std::pair<std::string_view, const ScenarioOptions*> records[] = {
      {"Classic", &classicPreset},
      {"Invasion", &invasionPreset},
      {"Halloween", &halloweenPreset},
      {"Custom", &customPreset},
      {"Options", &options}};
  for (const auto& [name, record] : records) {
    if (store.write(name, std::as_bytes(std::span(record, 1))) != platform::kOk) return false;
  }
  return true;
}

}  // namespace grazefall::testing
