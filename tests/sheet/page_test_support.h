// What the page tests share: a platform whose display modes and settings
// store a test arranges, desk services that record what the pages asked for,
// and a fixture that installs both and resets activeOptions.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "options/options.h"
#include "platform/display_device.h"
#include "platform/headless/headless_clock.h"
#include "platform/headless/headless_cursor.h"
#include "platform/headless/memory_settings_store.h"
#include "platform/platform.h"
#include "sheet/property_sheet.h"
#include "sheet/sheet_services.h"

namespace grazefall::page_testing {

struct DisplayScript {
  platform::DisplayMode current{1024, 768, 32};
  std::vector<platform::DisplayMode> offered{
      {640, 480, 4}, {640, 480, 8}, {800, 600, 16}, {800, 600, 32}, {1024, 768, 32}};
  bool creatable = true;
  bool listingFails = false;
};

class ScriptedDisplay : public platform::DisplayDevice {
 public:
  explicit ScriptedDisplay(const DisplayScript& script) : script_(script) {}
  int32_t takeFullScreen(platform::WindowHandle) override { return platform::kEFail; }
  int32_t setMode(const platform::DisplayMode&) override { return platform::kEFail; }
  std::unique_ptr<platform::Surface> createPrimary() override { return nullptr; }
  std::unique_ptr<platform::Surface> backBufferOf(platform::Surface&) override { return nullptr; }
  int32_t flip(platform::Surface&) override { return platform::kEFail; }
  std::unique_ptr<platform::Surface> createOffscreen(int32_t, int32_t) override { return nullptr; }
  bool currentMode(platform::DisplayMode* mode) override {
    *mode = script_.current;
    return true;
  }
  // A failing listing still hands over the first mode it found.
  bool listModes(std::vector<platform::DisplayMode>* modes) override {
    if (script_.listingFails) {
      if (!script_.offered.empty()) modes->push_back(script_.offered.front());
      return false;
    }
    *modes = script_.offered;
    return true;
  }

 private:
  const DisplayScript& script_;
};

class PagePlatform : public platform::Platform {
 public:
  DisplayScript display;
  platform::MemorySettingsStore store;

  std::unique_ptr<platform::DisplayDevice> createDisplayDevice() override {
    if (!display.creatable) return nullptr;
    return std::make_unique<ScriptedDisplay>(display);
  }
  std::unique_ptr<platform::InputSystem> createInputSystem() override { return nullptr; }
  std::optional<platform::Picture> loadResourcePicture(int32_t) override { return std::nullopt; }
  std::optional<platform::Picture> loadPictureFile(std::string_view) override {
    return std::nullopt;
  }
  std::unique_ptr<platform::Font> createFont(std::string_view, int32_t, int32_t) override {
    return nullptr;
  }
  platform::SettingsStore& settingsStore() override { return store; }
  platform::Clock& clock() override { return stoppedClock_; }
  platform::Cursor& cursor() override { return cursor_; }
  void debugOutput(std::string_view) override {}

 private:
  platform::HeadlessClock stoppedClock_;
  platform::HeadlessCursor cursor_;
};

class RecordingServices : public SheetServices {
 public:
  std::optional<std::string> programDir = std::string("/opt/grazefall/");
  // Directory listings by directory; any other directory lists nothing.
  std::vector<std::pair<std::string, std::vector<std::string>>> directories;
  bool useRealFileSystem = false;
  std::optional<std::string> nextBrowse;
  std::vector<std::string> loadablePictures;
  int helpOpened = 0;
  std::vector<std::string> messages;
  std::vector<std::string> browseTitles;

  std::optional<std::string> programDirectory() override { return programDir; }
  std::vector<std::string> listDirectory(std::string_view directory) override {
    if (useRealFileSystem) return ListRegularFiles(directory);
    for (const auto& [name, files] : directories) {
      if (name == directory) return files;
    }
    return {};
  }
  std::optional<std::string> browseForDirectory(std::string_view title) override {
    browseTitles.emplace_back(title);
    return nextBrowse;
  }
  bool canLoadPicture(std::string_view path) override {
    for (const std::string& loadable : loadablePictures) {
      if (loadable == path) return true;
    }
    return false;
  }
  void openHelp() override { ++helpOpened; }
  void showMessage(std::string_view text, std::string_view caption) override {
    messages.push_back(std::string(caption) + ": " + std::string(text));
  }
};

// Page indexes in the sheet.
constexpr size_t kScenariosPage = 0;
constexpr size_t kHerdPage = 1;
constexpr size_t kWindPage = 2;
constexpr size_t kEffectsPage = 3;
constexpr size_t kBackgroundPage = 4;
constexpr size_t kXanaduPage = 5;
constexpr size_t kLiffPage = 6;

inline ScenarioOptions StoredOptions(platform::MemorySettingsStore& store, std::string_view name) {
  ScenarioOptions record{};
  const auto& values = store.values();
  auto found = values.find(name);
  if (found != values.end() && found->second.size() == sizeof record) {
    std::memcpy(&record, found->second.data(), sizeof record);
  }
  return record;
}

inline void PlantOptions(platform::MemorySettingsStore& store, std::string_view name,
                         const ScenarioOptions& record) {
  std::vector<std::byte> bytes(sizeof record);
  std::memcpy(bytes.data(), &record, sizeof record);
  store.plant(std::string(name), std::move(bytes));
}

inline void SetBackgroundPath(ScenarioOptions& record, std::string_view path) {
  std::memset(record.backgroundPath, 0, sizeof record.backgroundPath);
  std::memcpy(record.backgroundPath, path.data(),
              std::min(path.size(), sizeof record.backgroundPath));
}

class SheetTest : public ::testing::Test {
 protected:
  SheetTest() {
    activeOptions = classicPreset;
    platform::InstallPlatform(&platform_);
  }
  ~SheetTest() override {
    platform::InstallPlatform(nullptr);
    activeOptions = classicPreset;
  }

  // Seeds the store as a first run would, then plants `options` as the
  // record the dialog opens with.
  void storeOptions(const ScenarioOptions& options) {
    PlantOptions(platform_.store, "Classic", classicPreset);
    PlantOptions(platform_.store, "Invasion", invasionPreset);
    PlantOptions(platform_.store, "Halloween", halloweenPreset);
    PlantOptions(platform_.store, "Custom", customPreset);
    PlantOptions(platform_.store, "Options", options);
  }
  // A sheet opened on its first page.
  PropertySheet& openSheet() {
    sheet_ = std::make_unique<PropertySheet>(services_);
    sheet_->open();
    return *sheet_;
  }
  ControlModel& page(size_t index) { return sheet_->controls(index); }

  PagePlatform platform_;
  RecordingServices services_;
  std::unique_ptr<PropertySheet> sheet_;
};

inline ScenarioOptions CustomWith(void (*edit)(ScenarioOptions&)) {
  ScenarioOptions options = customPreset;
  edit(options);
  return options;
}

}  // namespace grazefall::page_testing
