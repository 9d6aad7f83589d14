// The Linux saver's platform: SDL windows and presentation, SDL input, the
// program's own pictures and .bmp files, fontconfig fonts, the settings
// directory, SDL's clock and the cursor.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/linux/directory_settings_store.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_cursor.h"
#include "platform/sdl/sdl_window_system.h"

namespace grazefall::platform::sdl {

struct SdlPlatformOptions {
  // A frame-rate line in the corner of every frame (-fps).
  bool showFrameRate = false;
  // The saver does not own the keyboard and mouse.
  bool quietInput = false;
  // The calendar seconds the clock stays at, and so the seed of every herd
  // (GRAZEFALL_SEED): runs that are to be compared then build the same one.
  std::optional<int64_t> heldTime;
};

class SdlPlatform : public Platform {
 public:
  SdlPlatform(SdlWindowSystem& windows, SdlPlatformOptions options);
  ~SdlPlatform() override;

  std::unique_ptr<DisplayDevice> createDisplayDevice() override;
  std::unique_ptr<InputSystem> createInputSystem() override;
  std::optional<Picture> loadResourcePicture(int32_t resourceId) override;
  std::optional<Picture> loadPictureFile(std::string_view path) override;
  std::unique_ptr<Font> createFont(std::string_view face, int32_t height, int32_t weight) override;
  SettingsStore& settingsStore() override { return store_; }
  Clock& clock() override { return clock_; }
  Cursor& cursor() override { return cursor_; }
  void debugOutput(std::string_view text) override;

 private:
  SdlWindowSystem& windows_;
  SdlPlatformOptions options_;
  DirectorySettingsStore store_;
  SdlClock clock_;
  SdlCursor cursor_;
};

}  // namespace grazefall::platform::sdl
