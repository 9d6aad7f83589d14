#include "resources/bitmap_resources.h"

#include <algorithm>

#include "resources/embedded_files.h"

namespace grazefall::resources {

namespace {

std::span<const uint8_t> Find(std::span<const EmbeddedFile> files, int32_t id) {
  for (const EmbeddedFile& file : files) {
    if (file.id == id) {
      return {file.begin, file.end};
    }
  }
  return {};
}

std::vector<int32_t> Ids(std::span<const EmbeddedFile> files) {
  std::vector<int32_t> ids;
  ids.reserve(files.size());
  for (const EmbeddedFile& file : files) {
    ids.push_back(file.id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

}  // namespace

std::span<const uint8_t> FindBitmap(int32_t id) {
  return Find(EmbeddedBitmaps(), id);
}

std::vector<int32_t> BitmapIds() {
  return Ids(EmbeddedBitmaps());
}

std::span<const uint8_t> FindIconBitmap(int32_t size) {
  return Find(EmbeddedIcons(), size);
}

std::vector<int32_t> IconSizes() {
  return Ids(EmbeddedIcons());
}

}  // namespace grazefall::resources
