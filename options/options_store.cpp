#include "options/options_store.h"

#include <cstring>
#include <memory>
#include <span>
#include <utility>

#include "platform/platform.h"
#include "platform/types.h"

namespace grazefall {
namespace {

using platform::kEFail;
using platform::kOk;

constexpr std::string_view kOptionsValue = "Options";
constexpr std::string_view kClassicValue = "Classic";
constexpr std::string_view kInvasionValue = "Invasion";
constexpr std::string_view kHalloweenValue = "Halloween";
constexpr std::string_view kCustomValue = "Custom";
// Left behind by earlier versions; only ever deleted.
constexpr std::string_view kObsoleteCurrentOptionsValue = "CurrentOptions";

// Keeps the first failure until TakeStoreFailure collects it.
int32_t NoteFailure(OptionsStore& store) {
  if (!store.firstFailure) {
    store.firstFailure =
        StoreFailure{store.settings.location(), store.settings.lastFailureReason()};
  }
  return kEFail;
}

// What a scenario switch keeps from the record it replaces: the display mode
// and the background belong to the user, not to the scenario.
struct UserOwnedFields {
  int32_t screenWidth;
  int32_t screenHeight;
  int32_t screenBitDepth;
  char backgroundPath[kBackgroundPathSize];
  int32_t backgroundMode;
};

UserOwnedFields KeepUserOwnedFields(const ScenarioOptions& options) {
  UserOwnedFields kept{};
  kept.screenWidth = options.screenWidth;
  kept.screenHeight = options.screenHeight;
  kept.screenBitDepth = options.screenBitDepth;
  std::memcpy(kept.backgroundPath, options.backgroundPath, kBackgroundPathSize);
  kept.backgroundMode = options.backgroundMode;
  return kept;
}

void RestoreUserOwnedFields(const UserOwnedFields& kept, ScenarioOptions& options) {
  options.screenWidth = kept.screenWidth;
  options.screenHeight = kept.screenHeight;
  options.screenBitDepth = kept.screenBitDepth;
  std::memcpy(options.backgroundPath, kept.backgroundPath, kBackgroundPathSize);
  options.backgroundMode = kept.backgroundMode;
}

}  // namespace

int32_t ReadOptions(platform::SettingsStore& store, ScenarioOptions& record,
                    std::string_view valueName) {
  // A shorter value fills only its own length; a longer one is refused and
  // leaves the record as it was.
  size_t length = 0;
  const std::span<std::byte> bytes = std::as_writable_bytes(std::span(&record, 1));
  return store.read(valueName, bytes, &length) == kOk ? kOk : kEFail;
}

int32_t WriteOptions(OptionsStore& store, const ScenarioOptions& record,
                     std::string_view valueName) {
  if (store.settings.write(valueName, std::as_bytes(std::span(&record, 1))) != kOk) {
    return NoteFailure(store);
  }
  return kOk;
}

int32_t DeleteOptionsValue(OptionsStore& store, std::string_view valueName) {
  if (store.settings.remove(valueName) != kOk) return NoteFailure(store);
  return kOk;
}

std::optional<StoreFailure> TakeStoreFailure(OptionsStore& store) {
  return std::exchange(store.firstFailure, std::nullopt);
}

void QueryCurrentDisplayMode(platform::DisplayModes* display) {
  if (display == nullptr) return;
  platform::DisplayMode mode;
  if (!display->currentMode(&mode)) return;
  // A mode without a size or depth is no mode; keep what the record holds.
  if (mode.width <= 0 || mode.height <= 0 || mode.bitDepth <= 0) return;
  activeOptions.screenWidth = mode.width;
  activeOptions.screenHeight = mode.height;
  activeOptions.screenBitDepth = mode.bitDepth;
}

void LoadSaverOptions(platform::Platform& system) {
  if (ReadOptions(system.settingsStore(), activeOptions, kOptionsValue) == kOk) return;
  const std::unique_ptr<platform::DisplayDevice> display = system.createDisplayDevice();
  QueryCurrentDisplayMode(display.get());
}

void PrepareOptionsStore(OptionsStore& store, platform::DisplayModes* display) {
  // Probe into a zeroed record: a short value then lacks the version stamp.
  ScenarioOptions stored{};
  if (ReadOptions(store.settings, stored, kOptionsValue) == kOk) {
    if (HasCurrentFormatVersion(stored)) {
      ReadOptions(store.settings, activeOptions, kOptionsValue);
      return;
    }
    // A record of another version: the scenario values go; "Options" itself
    // is overwritten below.
    DeleteOptionsValue(store, kClassicValue);
    DeleteOptionsValue(store, kInvasionValue);
    DeleteOptionsValue(store, kHalloweenValue);
    DeleteOptionsValue(store, kCustomValue);
    DeleteOptionsValue(store, kObsoleteCurrentOptionsValue);
  }
  WriteOptions(store, classicPreset, kClassicValue);
  WriteOptions(store, invasionPreset, kInvasionValue);
  WriteOptions(store, halloweenPreset, kHalloweenValue);
  WriteOptions(store, customPreset, kCustomValue);
  QueryCurrentDisplayMode(display);
  // Read back only what was written: when the write fails (a full disk),
  // "Options" may still hold a record of another version, whose bytes must
  // not become the record the sheet edits.
  if (WriteOptions(store, activeOptions, kOptionsValue) == kOk) {
    ReadOptions(store.settings, activeOptions, kOptionsValue);
  }
}

int32_t SwitchScenario(OptionsStore& store, std::string_view target) {
  if (target == ScenarioNameOf(activeOptions)) return kOk;
  const UserOwnedFields kept = KeepUserOwnedFields(activeOptions);
  // The user's Custom settings, edits of this sheet included, are stored
  // before another scenario replaces them.
  if (ScenarioNameOf(activeOptions) == kCustomValue &&
      WriteOptions(store, activeOptions, kCustomValue) != kOk) {
    return kEFail;
  }
  // A missing target leaves the record as it was; a short one fills what it has.
  ReadOptions(store.settings, activeOptions, target);
  RestoreUserOwnedFields(kept, activeOptions);
  return kOk;
}

int32_t SaveActiveOptions(OptionsStore& store) {
  return WriteOptions(store, activeOptions, kOptionsValue);
}

}  // namespace grazefall
