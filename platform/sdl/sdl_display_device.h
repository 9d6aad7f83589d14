// The Linux saver's display: surfaces in memory in the options' own mode
// (every depth drawn in its own format), presented by converting each flipped
// frame to the window's format and scaling it into the saver window with its
// aspect kept; only the parts that changed since the frame before are
// converted and sent when that is known (see FrameChanges). A 32-bit frame as
// large as its X window is drawn in memory the X server reads itself, and
// goes with no conversion or copy of ours, in one memory that is primary and
// back buffer at once, since the server has copied each frame before the put
// returns; as large as its Wayland window (at
// scale 1), in a buffer the compositor reads, three of them taking turns so
// that none is drawn in while the compositor may still read it. The modes listed
// are every resolution SDL reports, at 8, 16, 24 and 32 bits; any other mode
// up to kMaxModeSide at those depths is accepted too, since none of them
// switches the monitor.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sdl/frame_counter.h"
#include "platform/sdl/sdl_window_system.h"
#include "platform/software/frame_changes.h"
#include "platform/software/software_display.h"

namespace grazefall::platform::sdl {

// Largest width and height of a mode the saver draws.
constexpr int32_t kMaxModeSide = 8192;

class SdlDisplayDevice : public software::SoftwareDisplayDevice {
 public:
  SdlDisplayDevice(SdlWindowSystem& windows, bool showFrameRate);
  ~SdlDisplayDevice() override;

  int32_t takeFullScreen(WindowHandle window) override;
  bool listModes(std::vector<DisplayMode>* modes) override;

 protected:
  bool systemMode(DisplayMode* mode) override;
  bool acceptsMode(const DisplayMode& mode) override;
  int32_t present(const software::SoftwareSurface& primary) override;
  // At 32 bits, as large as the saver's window: memory shared with the X
  // server or a Wayland compositor, which then reads each frame straight
  // from it.
  std::unique_ptr<software::SoftwareSurface> createFlipSurface(const DisplayMode& mode) override;
  // For memory shared with the X server, which has read a frame when it is
  // shown; not for a compositor's buffers, which it reads later.
  bool doneWithFrameOnPresent(const software::SoftwareSurface& primary) const override;

 private:
  // The whole frame, with the rate written over it, each time.
  int32_t presentWithFrameRate(const software::SoftwareSurface& primary);
  // Trades the back buffer's memory, which the compositor holds, for the
  // spare's when the compositor has let go of that.
  void keepDrawingFree(const software::SoftwareSurface& primary);

  SdlWindowSystem& windows_;
  WindowHandle window_ = 0;
  bool showFrameRate_;
  std::unique_ptr<FrameCounter> frameCounter_;
  software::FrameChanges changes_;
  std::unique_ptr<software::SoftwareSurface> staging_;
  // The third memory of Wayland frames, out of the flips while the compositor
  // may read it.
  std::unique_ptr<software::SoftwareSurface> spare_;
  uint32_t rateStart_ = 0;
  int32_t rateFrames_ = 0;
  double framesPerSecond_ = 0.0;
};

// Every resolution in `resolutions` at each of the four depths, in order.
std::vector<DisplayMode> ModesAtEveryDepth(const std::vector<DisplayMode>& resolutions);

}  // namespace grazefall::platform::sdl
