// The display driver object: takes the screen for a window, sets a display
// mode, makes the flipping primary with one back buffer and off-screen
// surfaces in the mode's pixel format, and lists and reports display modes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/surface.h"
#include "platform/types.h"

namespace grazefall::platform {

// The modes a display can show and the one it shows now: what the settings
// sheet offers and what a first run stores.
class DisplayModes {
 public:
  virtual ~DisplayModes() = default;
  // The display's current mode; false when it cannot be read.
  virtual bool currentMode(DisplayMode* mode) = 0;
  // Every mode the display offers, in the order the driver reports them.
  virtual bool listModes(std::vector<DisplayMode>* modes) = 0;
};

class DisplayDevice : public DisplayModes {
 public:
  // Exclusive full-screen use of the display for `window`.
  virtual int32_t takeFullScreen(WindowHandle window) = 0;
  // Switches to the mode; fails for a mode the display cannot show. A display
  // that scales its frames to the window may show modes it does not list.
  virtual int32_t setMode(const DisplayMode& mode) = 0;
  // The visible primary surface with one attached back buffer; null on failure.
  virtual std::unique_ptr<Surface> createPrimary() = 0;
  // The back buffer attached to the primary (owned by the caller).
  virtual std::unique_ptr<Surface> backBufferOf(Surface& primary) = 0;
  // Shows the back buffer, waiting until the display can flip. kOk once shown.
  virtual int32_t flip(Surface& primary) = 0;
  // An off-screen surface of the size asked in the current pixel format.
  virtual std::unique_ptr<Surface> createOffscreen(int32_t width, int32_t height) = 0;
};

}  // namespace grazefall::platform
