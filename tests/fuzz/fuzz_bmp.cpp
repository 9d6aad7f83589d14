// Any bytes as a .bmp image: the decoder either refuses them or gives a
// picture whose pixels fill exactly its width by its height, within the
// decoder's limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

#include "platform/picture.h"
#include "platform/software/bmp_decoder.h"

namespace sw = grazefall::platform::software;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<grazefall::platform::Picture> picture =
      sw::DecodeBmp(std::span<const uint8_t>(data, size));
  if (!picture) return 0;
  if (picture->width < 1 || picture->height < 1 || picture->width > sw::kMaxBitmapSide ||
      picture->height > sw::kMaxBitmapSide) {
    std::abort();
  }
  const uint64_t pixels = uint64_t(picture->width) * uint64_t(picture->height);
  if (picture->pixels.size() != pixels || pixels * 4 > sw::kMaxBitmapBytes) std::abort();
  // Every colour is 0x00BBGGRR: the top byte stays clear.
  for (const grazefall::platform::ColorRef color : picture->pixels) {
    if ((color >> 24) != 0) std::abort();
  }
  return 0;
}
