// A settings store that lives in memory, for unit tests and --render.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace grazefall::platform {

class MemorySettingsStore : public SettingsStore {
 public:
  int32_t read(std::string_view name, std::span<std::byte> buffer, size_t* length) override;
  int32_t write(std::string_view name, std::span<const std::byte> bytes) override;
  int32_t remove(std::string_view name) override;

  // For tests: every value as stored, a way to plant any bytes, a switch
  // that makes the key unreachable (every operation fails) and one that makes
  // it full (writes fail; reads and removals work, as on a full disk).
  const std::map<std::string, std::vector<std::byte>, std::less<>>& values() const {
    return values_;
  }
  void plant(std::string name, std::vector<std::byte> bytes) {
    values_[std::move(name)] = std::move(bytes);
  }
  void setUnreachable(bool unreachable) { unreachable_ = unreachable; }
  void setFull(bool full) { full_ = full; }
  int writes() const { return writes_; }

 private:
  std::map<std::string, std::vector<std::byte>, std::less<>> values_;
  bool unreachable_ = false;
  bool full_ = false;
  int writes_ = 0;
};

}  // namespace grazefall::platform
