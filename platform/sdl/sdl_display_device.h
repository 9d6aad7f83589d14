// The Linux saver's display: surfaces in memory in the options' own mode
// (every depth drawn in its own format), presented by converting each flipped
// frame to 32 bits and scaling it into the saver window with its aspect kept.
// The modes offered are every resolution SDL reports, at 8, 16, 24 and 32
// bits; none of them switches the monitor.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sdl/sdl_window_system.h"
#include "platform/software/software_display.h"

namespace grazefall::platform::sdl {

class SdlDisplayDevice : public software::SoftwareDisplayDevice {
 public:
  SdlDisplayDevice(SdlWindowSystem& windows, bool showFrameRate);
  ~SdlDisplayDevice() override;

  int32_t takeFullScreen(WindowHandle window) override;
  bool listModes(std::vector<DisplayMode>* modes) override;

 protected:
  bool systemMode(DisplayMode* mode) override;
  int32_t present(const software::SoftwareSurface& primary) override;

 private:
  SdlWindowSystem& windows_;
  WindowHandle window_ = 0;
  bool showFrameRate_;
  std::unique_ptr<software::SoftwareSurface> staging_;
  uint32_t rateStart_ = 0;
  int32_t rateFrames_ = 0;
  double framesPerSecond_ = 0.0;
};

// Every resolution in `resolutions` at each of the four depths, in order.
std::vector<DisplayMode> ModesAtEveryDepth(const std::vector<DisplayMode>& resolutions);

}  // namespace grazefall::platform::sdl
