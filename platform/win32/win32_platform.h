// The Platform of the Windows program: DirectDraw, DirectInput, GDI, the
// registry, the kernel's clock and the system cursor.
#pragma once

#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_cursor.h"

namespace grazefall::platform::win32 {

class Win32Platform : public Platform {
 public:
  explicit Win32Platform(HINSTANCE module);

  std::unique_ptr<DisplayDevice> createDisplayDevice() override;
  std::unique_ptr<InputSystem> createInputSystem() override;
  std::optional<Picture> loadResourcePicture(int32_t resourceId) override;
  std::optional<Picture> loadPictureFile(std::string_view path) override;
  std::unique_ptr<Font> createFont(std::string_view face, int32_t height, int32_t weight) override;
  SettingsStore& settingsStore() override;
  Clock& clock() override { return clock_; }
  Cursor& cursor() override { return cursor_; }
  void debugOutput(std::string_view text) override;

  HINSTANCE module() const { return module_; }

 private:
  HINSTANCE module_;
  RegistrySettingsStore store_;
  Win32Clock clock_;
  Win32Cursor cursor_;
};

}  // namespace grazefall::platform::win32
