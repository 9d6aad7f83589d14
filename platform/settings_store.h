// Named binary values under the program's one settings key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace grazefall::platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Reads the value into `buffer`. kOk with `*length` set to the value's size
  // when it fits; kEFail when the key or value is missing, unreadable, or
  // longer than the buffer (the buffer is then left untouched). A shorter
  // value fills only its own length.
  virtual int32_t read(std::string_view name, std::span<std::byte> buffer, size_t* length) = 0;
  // Creates the key if needed and stores the bytes, durably, before returning.
  virtual int32_t write(std::string_view name, std::span<const std::byte> bytes) = 0;
  // Creates the key if needed and deletes the value; a missing value is fine.
  virtual int32_t remove(std::string_view name) = 0;

  // For telling a person about a failure: where the values are kept (a
  // folder, a registry key), and the system's reason the most recent failed
  // write or removal failed. Empty when the store cannot say.
  virtual std::string location() const { return {}; }
  virtual std::string lastFailureReason() const { return {}; }
};

}  // namespace grazefall::platform
