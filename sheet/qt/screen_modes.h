// The display modes the settings dialog offers on Linux: the primary screen's
// size in device pixels at 8, 16, 24 and 32 bits per pixel, since the saver
// scales its frames to the screen and runs any depth.
#pragma once

#include <vector>

#include "platform/display_device.h"

namespace grazefall::qtui {

// Needs a QGuiApplication; answers false while there is no primary screen.
class ScreenModes : public platform::DisplayModes {
 public:
  bool currentMode(platform::DisplayMode* mode) override;
  bool listModes(std::vector<platform::DisplayMode>* modes) override;
};

}  // namespace grazefall::qtui
