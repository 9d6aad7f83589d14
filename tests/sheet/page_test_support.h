// What the page tests share: the fake platform (display modes and settings
// store a test arranges), desk services that record what the pages asked for,
// and a fixture that links both and resets activeOptions.
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
#include "platform/headless/memory_settings_store.h"
#include "sheet/property_sheet.h"
#include "sheet/sheet_services.h"
#include "tests/support/fake_platform.h"
#include "tests/support/first_run_records.h"

namespace grazefall::page_testing {

using testing::FakePlatform;

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
  // A fresh display of `platform` on every ask, as a real front end may make.
  platform::DisplayModes* displayModes() override {
    display_ = platform != nullptr ? platform->createDisplayDevice() : nullptr;
    return display_.get();
  }
  platform::Platform* platform = nullptr;

 private:
  std::unique_ptr<platform::DisplayDevice> display_;
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

inline void SetBackgroundPath(ScenarioOptions& record, std::string_view path) {
  std::memset(record.backgroundPath, 0, sizeof record.backgroundPath);
  std::memcpy(record.backgroundPath, path.data(),
              std::min(path.size(), sizeof record.backgroundPath));
}

class SheetTest : public ::testing::Test {
 protected:
  SheetTest() {
    activeOptions = classicPreset;
    services_.platform = &platform_;
  }
  ~SheetTest() override { activeOptions = classicPreset; }

  // Seeds the store as a first run would, then plants `options` as the
  // record the dialog opens with.
  void storeOptions(const ScenarioOptions& options) {
    ASSERT_TRUE(testing::StoreFirstRunRecords(platform_.memoryStore, options));
  }
  // A sheet opened on its first page.
  PropertySheet& openSheet() {
    sheet_ = std::make_unique<PropertySheet>(services_, platform_.settingsStore());
    sheet_->open();
    return *sheet_;
  }
  ControlModel& page(size_t index) { return sheet_->controls(index); }

  FakePlatform platform_;
  RecordingServices services_;
  std::unique_ptr<PropertySheet> sheet_;
};

inline ScenarioOptions CustomWith(void (*edit)(ScenarioOptions&)) {
  ScenarioOptions options = customPreset;
  edit(options);
  return options;
}

}  // namespace grazefall::page_testing
