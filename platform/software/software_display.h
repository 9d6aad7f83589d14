// A display device whose primary, back buffer and off-screen surfaces are
// SoftwareSurfaces in memory. A flip trades the two surfaces' pixel memory,
// so the primary holds the back buffer's picture (and the back buffer the
// previous frame), and hands the primary to present(), undoing the trade when
// present() fails; backends decide what showing a frame means (the headless
// backend keeps it, a windowed backend puts it on screen) and which modes
// exist. A backend whose display has copied a frame by the time present()
// returns may have the primary be its own back buffer: a flip then trades
// nothing, and each frame is drawn, from its clearing fill on, over the one
// just shown.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/display_device.h"
#include "platform/software/software_surface.h"

namespace grazefall::platform::software {

class SoftwareDisplayDevice : public DisplayDevice {
 public:
  ~SoftwareDisplayDevice() override = default;

  int32_t takeFullScreen(WindowHandle window) override;
  // Accepts a mode acceptsMode allows; surfaces made afterwards use it.
  int32_t setMode(const DisplayMode& mode) override;
  std::unique_ptr<Surface> createPrimary() override;
  std::unique_ptr<Surface> backBufferOf(Surface& primary) override;
  int32_t flip(Surface& primary) override;
  std::unique_ptr<Surface> createOffscreen(int32_t width, int32_t height) override;

  // The mode set by setMode, or else the one the system reports.
  bool currentMode(DisplayMode* mode) override;

 protected:
  // Whether setMode takes `mode`: by default only a mode listModes offers at
  // a supported depth.
  virtual bool acceptsMode(const DisplayMode& mode);
  // What the system's display is in, before any setMode.
  virtual bool systemMode(DisplayMode* mode) = 0;
  // Shows the primary after a flip; kOk once shown.
  virtual int32_t present(const SoftwareSurface& primary) = 0;
  // One of the two surfaces a flip trades, the primary or its back buffer:
  // by default in memory of its own; a backend may lend memory its display
  // reads straight from.
  virtual std::unique_ptr<SoftwareSurface> createFlipSurface(const DisplayMode& mode);
  // Whether present() is done with `primary`'s memory once it returns, so
  // that the next frame may be drawn in it. Then the primary is its own back
  // buffer: half the memory, and the pixels each frame clears and redraws
  // were touched a frame ago instead of two, which at large sizes is the
  // difference between the processor's caches and main memory. False by
  // default: the memory may be read after present() has returned.
  virtual bool doneWithFrameOnPresent(const SoftwareSurface& /*primary*/) const { return false; }

  std::optional<DisplayMode> modeSet_;
};

}  // namespace grazefall::platform::software
