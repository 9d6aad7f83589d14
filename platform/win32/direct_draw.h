// The display through DirectDraw's first interface: exclusive full screen,
// display modes, the flipping primary with one back buffer, off-screen plain
// surfaces, clippers and colour keys; pixels and text through the surfaces'
// GDI device contexts.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <memory>

#include "platform/display_device.h"
#include "platform/surface.h"
#include "platform/win32/com_ptr.h"

namespace grazefall::platform::win32 {

class DirectDrawSurface : public Surface {
 public:
  DirectDrawSurface(ComPtr<IDirectDraw> directDraw, ComPtr<IDirectDrawSurface> surface);

  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }
  int32_t bitDepth() const override { return bitDepth_; }

  int32_t fill(uint32_t pixelValue) override;
  int32_t blit(const Rect& destination, Surface& from, const Rect& source, bool keyed) override;
  int32_t setClipList(std::span<const Rect> rectangles) override;
  void setColorKey(uint32_t pixelValue) override;
  bool hasColorKey() const override { return hasColorKey_; }
  uint32_t colorKey() const override { return colorKey_; }
  ColorRef getPixel(int32_t x, int32_t y) const override;
  ColorRef setPixel(int32_t x, int32_t y, ColorRef color) override;
  uint32_t pixelValueOf(ColorRef color) override;
  int32_t drawPicture(const Picture& picture, const Rect& source) override;
  int32_t drawText(int32_t x, int32_t y, std::string_view text, const Font* font, ColorRef color,
                   bool transparent) override;
  void restore() override;

  IDirectDrawSurface* raw() const { return surface_.get(); }

 private:
  // Locks the surface and reads the 32-bit little-endian word at its first
  // pixel. False when the surface cannot be locked.
  bool readFirstPixelWord(uint32_t* word);

  ComPtr<IDirectDraw> directDraw_;
  ComPtr<IDirectDrawSurface> surface_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t bitDepth_ = 0;
  bool hasClipper_ = false;
  bool hasColorKey_ = false;
  uint32_t colorKey_ = 0;
};

class DirectDrawDevice : public DisplayDevice {
 public:
  // Null when DirectDrawCreate fails.
  static std::unique_ptr<DirectDrawDevice> Create();

  int32_t takeFullScreen(WindowHandle window) override;
  int32_t setMode(const DisplayMode& mode) override;
  std::unique_ptr<Surface> createPrimary() override;
  std::unique_ptr<Surface> backBufferOf(Surface& primary) override;
  int32_t flip(Surface& primary) override;
  std::unique_ptr<Surface> createOffscreen(int32_t width, int32_t height) override;
  bool currentMode(DisplayMode* mode) override;
  bool listModes(std::vector<DisplayMode>* modes) override;

 private:
  explicit DirectDrawDevice(ComPtr<IDirectDraw> directDraw);
  ComPtr<IDirectDraw> directDraw_;
};

}  // namespace grazefall::platform::win32
