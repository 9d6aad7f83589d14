#include "platform/headless/memory_settings_store.h"

#include <algorithm>

#include "platform/types.h"

namespace grazefall::platform {

int32_t MemorySettingsStore::read(std::string_view name, std::span<std::byte> buffer,
                                  size_t* length) {
  if (unreachable_) return kEFail;
  const auto found = values_.find(name);
  if (found == values_.end()) return kEFail;
  const std::vector<std::byte>& value = found->second;
  // A value too long for the buffer is refused whole; the buffer stays as it was.
  if (value.size() > buffer.size()) return kEFail;
  std::copy(value.begin(), value.end(), buffer.begin());
  if (length != nullptr) *length = value.size();
  return kOk;
}

int32_t MemorySettingsStore::write(std::string_view name, std::span<const std::byte> bytes) {
  if (unreachable_ || full_) return kEFail;
  values_[std::string(name)] = std::vector<std::byte>(bytes.begin(), bytes.end());
  ++writes_;
  return kOk;
}

int32_t MemorySettingsStore::remove(std::string_view name) {
  if (unreachable_) return kEFail;
  const auto found = values_.find(name);
  if (found != values_.end()) values_.erase(found);
  return kOk;
}

}  // namespace grazefall::platform
