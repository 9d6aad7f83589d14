#include "platform/sdl/sdl_display_device.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/sdl/viewport_map.h"
#include "platform/sdl/x11_shared_image.h"
#include "platform/software/pixel_format.h"

namespace grazefall::platform::sdl {
namespace {

// A frame's pixels in memory the X server reads too.
class SharedFramePixels final : public software::PixelMemory {
 public:
  explicit SharedFramePixels(std::unique_ptr<X11SharedImage> image) : image_(std::move(image)) {}
  void* data() const override { return image_->pixels(); }
  int32_t pitch() const override { return image_->pitch(); }
  const X11SharedImage& image() const { return *image_; }

 private:
  std::unique_ptr<X11SharedImage> image_;
};

const X11SharedImage* SharedImageOf(const software::SoftwareSurface& surface) {
  const auto* shared = dynamic_cast<const SharedFramePixels*>(surface.pixels()->lent.get());
  return shared != nullptr ? &shared->image() : nullptr;
}

// A frame's pixels in a buffer the Wayland compositor reads itself.
class WaylandFramePixels final : public software::PixelMemory {
 public:
  explicit WaylandFramePixels(std::unique_ptr<ShmBuffers> buffer) : buffer_(std::move(buffer)) {}
  void* data() const override { return buffer_->pixels(0)->pixels; }
  int32_t pitch() const override { return buffer_->pixels(0)->pitch; }
  ShmBuffers& buffer() const { return *buffer_; }

 private:
  std::unique_ptr<ShmBuffers> buffer_;
};

ShmBuffers* WaylandBufferOf(const software::SurfacePixels& pixels) {
  const auto* lent = dynamic_cast<const WaylandFramePixels*>(pixels.lent.get());
  return lent != nullptr ? &lent->buffer() : nullptr;
}

bool HeldByCompositor(const software::SurfacePixels& pixels) {
  const ShmBuffers* buffer = WaylandBufferOf(pixels);
  return buffer != nullptr && buffer->released() < 0;
}

}  // namespace

std::vector<DisplayMode> ModesAtEveryDepth(const std::vector<DisplayMode>& resolutions) {
  std::vector<DisplayMode> modes;
  for (const DisplayMode& resolution : resolutions) {
    for (int32_t depth : {8, 16, 24, 32}) {
      const DisplayMode mode{resolution.width, resolution.height, depth};
      if (std::find(modes.begin(), modes.end(), mode) == modes.end()) modes.push_back(mode);
    }
  }
  return modes;
}

SdlDisplayDevice::SdlDisplayDevice(SdlWindowSystem& windows, bool showFrameRate)
    : windows_(windows),
      showFrameRate_(showFrameRate),
      frameCounter_(FrameCounter::FromEnvironment()) {}

SdlDisplayDevice::~SdlDisplayDevice() = default;

bool SdlDisplayDevice::acceptsMode(const DisplayMode& mode) {
  // Nothing here switches the monitor: any mode is drawn in memory and scaled
  // to the window, so a mode the display does not list is shown all the same.
  return software::IsSupportedDepth(mode.bitDepth) && mode.width > 0 && mode.height > 0 &&
         mode.width <= kMaxModeSide && mode.height <= kMaxModeSide;
}

int32_t SdlDisplayDevice::takeFullScreen(WindowHandle window) {
  if (!windows_.isWindow(window)) return kEFail;
  window_ = window;
  return kOk;
}

bool SdlDisplayDevice::systemMode(DisplayMode* mode) {
  if (!windows_.isOpen()) return false;
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return false;
  int32_t depth = static_cast<int32_t>(SDL_BITSPERPIXEL(desktop.format));
  if (!software::IsSupportedDepth(depth)) depth = 32;
  *mode = DisplayMode{desktop.w, desktop.h, depth};
  return true;
}

bool SdlDisplayDevice::listModes(std::vector<DisplayMode>* modes) {
  if (modes == nullptr || !windows_.isOpen()) return false;
  std::vector<DisplayMode> resolutions;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode reported;
    if (SDL_GetDisplayMode(0, i, &reported) == 0) {
      resolutions.push_back(DisplayMode{reported.w, reported.h, 0});
    }
  }
  DisplayMode desktop;
  if (resolutions.empty() && systemMode(&desktop)) resolutions.push_back(desktop);
  *modes = ModesAtEveryDepth(resolutions);
  return !modes->empty();
}

int32_t SdlDisplayDevice::present(const software::SoftwareSurface& primary) {
  if (window_ == 0) return kEFail;
  if (showFrameRate_) {
    if (frameCounter_) frameCounter_->count(true);
    changes_.forget();
    return presentWithFrameRate(primary);
  }
  const std::optional<std::vector<Rect>> changed = changes_.next(*primary.pixels());
  if (frameCounter_) frameCounter_->count(!changed);
  const int32_t shown =
      windows_.presentFrame(window_, primary.sdlSurface(), changed, SharedImageOf(primary),
                            WaylandBufferOf(*primary.pixels()));
  if (shown != kOk) {
    changes_.forget();
  } else if (primary.attachedBackBuffer() && HeldByCompositor(*primary.attachedBackBuffer())) {
    keepDrawingFree(primary);
  }
  return shown;
}

void SdlDisplayDevice::keepDrawingFree(const software::SoftwareSurface& primary) {
  // The compositor still reads the memory the next frame would be drawn in
  // (it was shown until now): a third buffer, one it has let go of, takes
  // its place.
  software::SurfacePixels& back = *primary.attachedBackBuffer();
  if (!spare_ || spare_->width() != primary.width() || spare_->height() != primary.height()) {
    spare_ = createFlipSurface(DisplayMode{primary.width(), primary.height(), 32});
  }
  // A spare that got no buffer of the compositor's stays, unused, so that
  // none is asked for again at every frame.
  if (spare_ && WaylandBufferOf(*spare_->pixels()) != nullptr &&
      !HeldByCompositor(*spare_->pixels())) {
    spare_->tradePixelsWith(back);
  }
}

std::unique_ptr<software::SoftwareSurface> SdlDisplayDevice::createFlipSurface(
    const DisplayMode& mode) {
  SDL_Window* window = windows_.sdlWindowOf(window_);
  int width = 0;
  int height = 0;
  if (window != nullptr) SDL_GetWindowSize(window, &width, &height);
  // Other frames are converted or scaled into the window's pixels anyway. The
  // X server doubles a frame that fits the window twice as wide and high.
  const bool fits = width == mode.width && height == mode.height;
  const bool doubles = DoubledViewportOf(mode.width, mode.height, width, height).has_value();
  if (mode.bitDepth == 32 && (fits || doubles) && !showFrameRate_) {
    if (auto image = X11SharedImage::Create(window, mode.width, mode.height)) {
      auto surface = software::SoftwareSurface::CreateOn(
          std::make_unique<SharedFramePixels>(std::move(image)), mode.width, mode.height, 32);
      if (surface) return surface;
    }
    if (!fits) return SoftwareDisplayDevice::createFlipSurface(mode);
    if (auto buffer = windows_.lendWaylandBuffer(window_, mode.width, mode.height)) {
      auto surface = software::SoftwareSurface::CreateOn(
          std::make_unique<WaylandFramePixels>(std::move(buffer)), mode.width, mode.height, 32);
      if (surface) return surface;
    }
  }
  return SoftwareDisplayDevice::createFlipSurface(mode);
}

bool SdlDisplayDevice::doneWithFrameOnPresent(const software::SoftwareSurface& primary) const {
  // X11SharedImage::putOn waits for the server to have read the pixels.
  return SharedImageOf(primary) != nullptr;
}

int32_t SdlDisplayDevice::presentWithFrameRate(const software::SoftwareSurface& primary) {
  if (!staging_ || staging_->width() != primary.width() || staging_->height() != primary.height()) {
    staging_ = software::SoftwareSurface::Create(primary.width(), primary.height(), 32);
    if (!staging_) return kEFail;
  }
  // The rate is written over a copy, so the frame itself stays as drawn.
  if (SDL_BlitSurface(primary.sdlSurface(), nullptr, staging_->sdlSurface(), nullptr) != 0) {
    return kEFail;
  }
  const uint32_t now = SDL_GetTicks();
  if (rateFrames_ == 0) rateStart_ = now;
  ++rateFrames_;
  if (now - rateStart_ >= 1000) {
    framesPerSecond_ = (rateFrames_ - 1) * 1000.0 / static_cast<double>(now - rateStart_);
    rateFrames_ = 0;
  }
  char line[48];
  std::snprintf(line, sizeof line, "%.1f fps", framesPerSecond_);
  staging_->drawText(4, 4, line, nullptr, Rgb(255, 255, 255), false);
  return windows_.presentFrame(window_, staging_->sdlSurface());
}

}  // namespace grazefall::platform::sdl
