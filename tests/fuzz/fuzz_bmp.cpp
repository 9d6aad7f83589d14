// Any bytes as a .bmp image: the decoder either refuses them or gives a
// picture whose pixels fill exactly its width by its height, within the
// decoder's limits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "platform/picture.h"
#include "platform/software/bmp_decoder.h"

namespace sw = grazefall::platform::software;

constexpr size_t kFullyCheckedPixels = 1 << 16;

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
  // Every colour is 0x00BBGGRR: the top byte stays clear. A few bytes of
  // RLE may stand for a picture of a quarter gigabyte; of a picture that
  // large only the first and last rows are looked at, which keeps such an
  // input to the decoder's own time.
  const std::vector<grazefall::platform::ColorRef>& colors = picture->pixels;
  const size_t width = static_cast<size_t>(picture->width);
  const bool large = colors.size() > kFullyCheckedPixels;
  for (size_t i = 0; i < colors.size(); ++i) {
    if (large && i == width) i = std::max(i, colors.size() - width);
    if ((colors[i] >> 24) != 0) std::abort();
  }
  return 0;
}
