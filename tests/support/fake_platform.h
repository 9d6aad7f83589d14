// A platform for the options and settings-page tests: a display whose current
// mode and mode list a test arranges (or makes unreadable), and a settings
// store a test picks. Nothing else works: no surfaces, input, pictures or fonts.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/display_device.h"
#include "platform/headless/headless_clock.h"
#include "platform/headless/headless_cursor.h"
#include "platform/headless/memory_settings_store.h"
#include "platform/platform.h"

namespace grazefall::testing {

struct FakeDisplayState {
  platform::DisplayMode current{1024, 768, 32};
  std::vector<platform::DisplayMode> offered{
      {640, 480, 4}, {640, 480, 8}, {800, 600, 16}, {800, 600, 32}, {1024, 768, 32}};
  bool currentReadable = true;
  bool creatable = true;
  bool listingFails = false;
};

class FakeDisplayDevice : public platform::DisplayDevice {
 public:
  explicit FakeDisplayDevice(const FakeDisplayState& state) : state_(state) {}
  int32_t takeFullScreen(platform::WindowHandle) override { return platform::kEFail; }
  int32_t setMode(const platform::DisplayMode&) override { return platform::kEFail; }
  std::unique_ptr<platform::Surface> createPrimary() override { return nullptr; }
  std::unique_ptr<platform::Surface> backBufferOf(platform::Surface&) override { return nullptr; }
  int32_t flip(platform::Surface&) override { return platform::kEFail; }
  std::unique_ptr<platform::Surface> createOffscreen(int32_t, int32_t) override { return nullptr; }
  bool currentMode(platform::DisplayMode* mode) override {
    if (!state_.currentReadable) return false;
    *mode = state_.current;
    return true;
  }
  // A failing listing still hands over the first mode it found.
  bool listModes(std::vector<platform::DisplayMode>* modes) override {
    if (state_.listingFails) {
      if (!state_.offered.empty()) modes->push_back(state_.offered.front());
      return false;
    }
    *modes = state_.offered;
    return true;
  }

 private:
  const FakeDisplayState& state_;
};

class FakePlatform : public platform::Platform {
 public:
  FakeDisplayState display;
  platform::MemorySettingsStore memoryStore;
  // The store the platform hands out; the memory store unless a test sets another.
  platform::SettingsStore* store = &memoryStore;

  std::unique_ptr<platform::DisplayDevice> createDisplayDevice() override {
    if (!display.creatable) return nullptr;
    return std::make_unique<FakeDisplayDevice>(display);
  }
  std::unique_ptr<platform::InputSystem> createInputSystem() override { return nullptr; }
  std::optional<platform::Picture> loadResourcePicture(int32_t) override { return std::nullopt; }
  std::optional<platform::Picture> loadPictureFile(std::string_view) override {
    return std::nullopt;
  }
  std::unique_ptr<platform::Font> createFont(std::string_view, int32_t, int32_t) override {
    return nullptr;
  }
  platform::SettingsStore& settingsStore() override { return *store; }
  platform::Clock& clock() override { return stoppedClock_; }
  platform::Cursor& cursor() override { return cursor_; }
  void debugOutput(std::string_view) override {}

 private:
  platform::HeadlessClock stoppedClock_;
  platform::HeadlessCursor cursor_;
};

}  // namespace grazefall::testing
