// The services the portable core reaches the system through. Each backend
// (headless, Linux, Win32) provides one Platform; the program makes one and
// hands it to the parts that use it (the session, the animation, the sheet).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/cursor.h"
#include "platform/display_device.h"
#include "platform/font.h"
#include "platform/input_device.h"
#include "platform/picture.h"
#include "platform/settings_store.h"

namespace grazefall::platform {

class Platform {
 public:
  virtual ~Platform() = default;

  // A new display driver object; null when none can be made.
  virtual std::unique_ptr<DisplayDevice> createDisplayDevice() = 0;
  // A new input object for the keyboard and mouse; null when none can be made.
  virtual std::unique_ptr<InputSystem> createInputSystem() = 0;

  // A bitmap compiled into the program, by numeric resource id.
  virtual std::optional<Picture> loadResourcePicture(int32_t resourceId) = 0;
  // A .bmp file by path; nullopt for anything that is not a readable bitmap.
  virtual std::optional<Picture> loadPictureFile(std::string_view path) = 0;

  // A font asked for by face name, cell height in pixels and weight; null when
  // no font can be made (text then uses the backend's default font).
  virtual std::unique_ptr<Font> createFont(std::string_view face, int32_t height,
                                           int32_t weight) = 0;

  virtual SettingsStore& settingsStore() = 0;

  // The one clock and the one cursor of the process: the animation and the
  // saver window both reach them here, so a program with no window system
  // (the --render tool) still has them.
  virtual Clock& clock() = 0;
  virtual Cursor& cursor() = 0;

  // One line of diagnostics for a developer; never shown to the user.
  virtual void debugOutput(std::string_view text) = 0;
};

}  // namespace grazefall::platform
