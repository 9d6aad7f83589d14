// What lies in a settings folder, sorted by name: the temporaries the
// store's writers make (and a killed writer leaves behind), and the rest.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/directory_settings_store.h"

namespace grazefall::testing {

inline std::vector<std::string> FolderEntries(const std::string& directory, bool temporaries) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    std::string name = entry.path().filename().string();
    if (name.starts_with(platform::DirectorySettingsStore::kTemporaryPrefix) == temporaries) {
      names.push_back(std::move(name));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline std::vector<std::string> TemporariesIn(const std::string& directory) {
  return FolderEntries(directory, true);
}
inline std::vector<std::string> ValuesIn(const std::string& directory) {
  return FolderEntries(directory, false);
}

}  // namespace grazefall::testing
