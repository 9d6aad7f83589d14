#include "platform/software/software_display.h"

#include <algorithm>

#include "platform/software/pixel_format.h"

namespace grazefall::platform::software {

int32_t SoftwareDisplayDevice::takeFullScreen(WindowHandle /*window*/) {
  return kOk;
}

bool SoftwareDisplayDevice::acceptsMode(const DisplayMode& mode) {
  std::vector<DisplayMode> modes;
  return listModes(&modes) && std::find(modes.begin(), modes.end(), mode) != modes.end() &&
         IsSupportedDepth(mode.bitDepth);
}

int32_t SoftwareDisplayDevice::setMode(const DisplayMode& mode) {
  if (!acceptsMode(mode)) return kEFail;
  modeSet_ = mode;
  return kOk;
}

bool SoftwareDisplayDevice::currentMode(DisplayMode* mode) {
  if (mode == nullptr) return false;
  if (modeSet_) {
    *mode = *modeSet_;
    return true;
  }
  return systemMode(mode);
}

std::unique_ptr<Surface> SoftwareDisplayDevice::createPrimary() {
  DisplayMode mode;
  if (!currentMode(&mode)) return nullptr;
  auto primary = createFlipSurface(mode);
  if (!primary) return nullptr;
  if (doneWithFrameOnPresent(*primary)) {
    // Nothing is traded at a flip, and nothing drawn before a frame's fill
    // shows, so what a back buffer held before does not matter.
    primary->attachBackBuffer(primary->pixels());
    return primary;
  }
  auto back = createFlipSurface(mode);
  if (!back) return nullptr;
  primary->attachBackBuffer(back->pixels());
  return primary;
}

std::unique_ptr<SoftwareSurface> SoftwareDisplayDevice::createFlipSurface(const DisplayMode& mode) {
  return SoftwareSurface::Create(mode.width, mode.height, mode.bitDepth);
}

std::unique_ptr<Surface> SoftwareDisplayDevice::backBufferOf(Surface& primary) {
  auto* chain = dynamic_cast<SoftwareSurface*>(&primary);
  if (chain == nullptr || !chain->attachedBackBuffer()) return nullptr;
  return SoftwareSurface::Share(chain->attachedBackBuffer());
}

int32_t SoftwareDisplayDevice::flip(Surface& primary) {
  auto* chain = dynamic_cast<SoftwareSurface*>(&primary);
  if (chain == nullptr || !chain->attachedBackBuffer()) return kEFail;
  // The primary takes the back buffer's pixels and the back buffer the old
  // frame's, which the next frame redraws from its clearing fill onwards.
  if (!chain->tradePixelsWith(*chain->attachedBackBuffer())) return kEFail;
  const int32_t shown = present(*chain);
  // A flip that was not shown changes nothing: the trade is undone, so the
  // back buffer still holds the new frame for the next attempt.
  if (shown != kOk) chain->tradePixelsWith(*chain->attachedBackBuffer());
  return shown;
}

std::unique_ptr<Surface> SoftwareDisplayDevice::createOffscreen(int32_t width, int32_t height) {
  DisplayMode mode;
  if (!currentMode(&mode)) return nullptr;
  return SoftwareSurface::Create(width, height, mode.bitDepth);
}

}  // namespace grazefall::platform::software
