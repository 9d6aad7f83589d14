#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sdl/sdl_display_device.h"
#include "platform/sdl/sdl_input.h"
#include "platform/software/bmp_decoder.h"
#include "platform/software/software_font.h"
#include "resources/bitmap_resources.h"

namespace grazefall::platform::sdl {

SdlPlatform::SdlPlatform(SdlWindowSystem& windows, SdlPlatformOptions options)
    : windows_(windows),
      options_(options),
      store_(DirectorySettingsStore::DefaultDirectory()),
      clock_(options.heldTime),
      cursor_(windows) {}

SdlPlatform::~SdlPlatform() = default;

std::unique_ptr<DisplayDevice> SdlPlatform::createDisplayDevice() {
  if (!windows_.isOpen()) return nullptr;
  return std::make_unique<SdlDisplayDevice>(windows_, options_.showFrameRate);
}

std::unique_ptr<InputSystem> SdlPlatform::createInputSystem() {
  return std::make_unique<SdlInputSystem>(options_.quietInput);
}

std::optional<Picture> SdlPlatform::loadResourcePicture(int32_t resourceId) {
  const auto bytes = resources::FindBitmap(resourceId);
  if (bytes.empty()) return std::nullopt;
  return software::DecodeBmp(bytes);
}

std::optional<Picture> SdlPlatform::loadPictureFile(std::string_view path) {
  return software::LoadBmpFile(path);
}

std::unique_ptr<Font> SdlPlatform::createFont(std::string_view face, int32_t height,
                                              int32_t weight) {
  return software::SoftwareFont::Open(face, height, weight);
}

void SdlPlatform::debugOutput(std::string_view text) {
  // Diagnostics are for a developer who asked for them.
  if (std::getenv("GRAZEFALL_DEBUG") == nullptr) return;
  std::fprintf(stderr, "grazefall: %.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace grazefall::platform::sdl
