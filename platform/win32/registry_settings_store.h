// The options store in the current user's registry: binary values under
// HKEY_CURRENT_USER\Control Panel\Desktop\ScreenSavers\Grazefall, each write
// flushed to disk before it returns.
#pragma once

#include <string>

#include "platform/settings_store.h"

namespace grazefall::platform::win32 {

constexpr const char* kSettingsKeyPath = "Control Panel\\Desktop\\ScreenSavers\\Grazefall";

class RegistrySettingsStore : public SettingsStore {
 public:
  // `keyPath` is relative to HKEY_CURRENT_USER.
  explicit RegistrySettingsStore(std::string keyPath = kSettingsKeyPath);

  int32_t read(std::string_view name, std::span<std::byte> buffer, size_t* length) override;
  int32_t write(std::string_view name, std::span<const std::byte> bytes) override;
  int32_t remove(std::string_view name) override;

 private:
  std::string keyPath_;
};

}  // namespace grazefall::platform::win32
