#include "platform/win32/registry_settings_store.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/types.h"

namespace grazefall::platform::win32 {
namespace {

// Owns an open registry key.
class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  bool open(const std::string& path, bool create) {
    LONG status = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                                           &key_, nullptr)
                         : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
    return key_ != nullptr;
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::string keyPath) : keyPath_(std::move(keyPath)) {}

int32_t RegistrySettingsStore::read(std::string_view name, std::span<std::byte> buffer,
                                    size_t* length) {
  OpenKey key;
  if (!key.open(keyPath_, false)) return kEFail;
  const std::string valueName(name);

  // Ask for the size first: a value longer than the buffer must leave the
  // caller's bytes untouched, and the registry may scribble on a short buffer.
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return kEFail;
  }
  if (size > buffer.size()) return kEFail;

  std::vector<BYTE> bytes(size == 0 ? 1 : size);
  DWORD readSize = size;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, bytes.data(), &readSize) !=
          ERROR_SUCCESS ||
      readSize > buffer.size()) {
    return kEFail;
  }
  if (readSize > 0) std::memcpy(buffer.data(), bytes.data(), readSize);
  if (length != nullptr) *length = readSize;
  return kOk;
}

int32_t RegistrySettingsStore::write(std::string_view name, std::span<const std::byte> bytes) {
  if (bytes.size() > 0xFFFFFFFFu) return kEFail;
  OpenKey key;
  if (!key.open(keyPath_, true)) return kEFail;
  const std::string valueName(name);
  if (RegSetValueExA(key.get(), valueName.c_str(), 0, REG_BINARY,
                     reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size())) != ERROR_SUCCESS) {
    return kEFail;
  }
  // The saver and the dialog run as separate processes: make the value
  // durable before anyone else reads it.
  return RegFlushKey(key.get()) == ERROR_SUCCESS ? kOk : kEFail;
}

int32_t RegistrySettingsStore::remove(std::string_view name) {
  OpenKey key;
  if (!key.open(keyPath_, true)) return kEFail;
  const std::string valueName(name);
  LONG status = RegDeleteValueA(key.get(), valueName.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return kEFail;
  RegFlushKey(key.get());
  return kOk;
}

}  // namespace grazefall::platform::win32
