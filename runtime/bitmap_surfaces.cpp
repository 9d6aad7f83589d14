#include "runtime/bitmap_surfaces.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace grazefall {
namespace {

using platform::ColorRef;
using platform::kClrInvalid;
using platform::Picture;

// The largest surface side a caller may ask for; pictures are limited alike
// by the loaders.
constexpr int32_t kMaxSurfaceSide = 16384;

// "#170" names bitmap resource 170, as resource names written as strings do.
std::optional<int32_t> ResourceIdFromName(const std::string& name) {
  if (name.size() < 2 || name[0] != '#') return std::nullopt;
  int32_t id = 0;
  const char* first = name.data() + 1;
  const char* last = name.data() + name.size();
  const auto [end, error] = std::from_chars(first, last, id);
  if (error != std::errc() || end != last || id < 0) return std::nullopt;
  return id;
}

// The program's own resources come first; a string that is not a resource
// name is read as a .bmp file path.
std::optional<Picture> LoadBitmap(platform::Platform& system, const BitmapName& name) {
  if (const int32_t* id = std::get_if<int32_t>(&name)) {
    return system.loadResourcePicture(*id);
  }
  const std::string& text = std::get<std::string>(name);
  if (const std::optional<int32_t> id = ResourceIdFromName(text)) {
    if (std::optional<Picture> picture = system.loadResourcePicture(*id)) return picture;
  }
  return system.loadPictureFile(text);
}

// A picture whose pixel buffer does not hold width x height colours cannot
// be read from without running past its end.
bool PictureIsWhole(const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  const uint64_t expected =
      static_cast<uint64_t>(picture.width) * static_cast<uint64_t>(picture.height);
  return picture.pixels.size() == expected;
}

}  // namespace

std::unique_ptr<platform::Surface> CreateSurfaceFromBitmap(platform::Platform& system,
                                                           platform::DisplayDevice* directDraw,
                                                           const BitmapName& name, int32_t width,
                                                           int32_t height) {
  if (directDraw == nullptr) return nullptr;
  if (width < 0 || height < 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
    return nullptr;
  }
  const std::optional<Picture> picture = LoadBitmap(system, name);
  if (!picture || !PictureIsWhole(*picture)) return nullptr;

  // A size asked for scales the picture to it, as loading it at that size would.
  const int32_t surfaceWidth = width != 0 ? width : picture->width;
  const int32_t surfaceHeight = height != 0 ? height : picture->height;
  std::unique_ptr<platform::Surface> surface =
      directDraw->createOffscreen(surfaceWidth, surfaceHeight);
  if (!surface) return nullptr;
  CopyBitmapToSurface(system, surface.get(), &*picture, 0, 0, 0, 0);
  return surface;
}

int32_t CopyBitmapToSurface(platform::Platform& system, platform::Surface* surface,
                            const platform::Picture* picture, int32_t x, int32_t y, int32_t width,
                            int32_t height) {
  if (surface == nullptr || picture == nullptr) return platform::kEFail;
  surface->restore();
  if (!PictureIsWhole(*picture)) {
    // Nothing can be selected for reading: the copy draws nothing.
    system.debugOutput("createcompatible dc failed\n");
    return platform::kEFail;
  }
  const int32_t sourceWidth = width != 0 ? width : picture->width;
  const int32_t sourceHeight = height != 0 ? height : picture->height;
  // Edges computed wide so that absurd offsets cannot overflow; a rectangle
  // that leaves the int32 range copies nothing.
  const int64_t right = static_cast<int64_t>(x) + sourceWidth;
  const int64_t bottom = static_cast<int64_t>(y) + sourceHeight;
  if (right > INT32_MAX || bottom > INT32_MAX) return platform::kEFail;
  const platform::Rect source{x, y, static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
  return surface->drawPicture(*picture, source);
}

void SetColorKeyFromColor(platform::Surface* surface, ColorRef color) {
  if (surface == nullptr) return;
  surface->setColorKey(surface->pixelValueOf(color));
}

}  // namespace grazefall
