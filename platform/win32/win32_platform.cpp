#include "platform/win32/win32_platform.h"

#include <string>

#include "platform/win32/direct_draw.h"
#include "platform/win32/direct_input.h"
#include "platform/win32/gdi_font.h"
#include "platform/win32/gdi_pictures.h"

namespace grazefall::platform::win32 {

Win32Platform::Win32Platform(HINSTANCE module) : module_(module) {}

std::unique_ptr<DisplayDevice> Win32Platform::createDisplayDevice() {
  return DirectDrawDevice::Create();
}

std::unique_ptr<InputSystem> Win32Platform::createInputSystem() {
  return DirectInputSystem::Create(module_);
}

std::optional<Picture> Win32Platform::loadResourcePicture(int32_t resourceId) {
  return LoadResourceBitmap(module_, resourceId);
}

std::optional<Picture> Win32Platform::loadPictureFile(std::string_view path) {
  return LoadBitmapFile(path);
}

std::unique_ptr<Font> Win32Platform::createFont(std::string_view face, int32_t height,
                                                int32_t weight) {
  const std::string name(face);
  HFONT font =
      CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, name.c_str());
  if (font == nullptr) return nullptr;
  return std::make_unique<GdiFont>(font);
}

SettingsStore& Win32Platform::settingsStore() {
  return store_;
}

void Win32Platform::debugOutput(std::string_view text) {
  const std::string line(text);
  OutputDebugStringA(line.c_str());
}

}  // namespace grazefall::platform::win32
