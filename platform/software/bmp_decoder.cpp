#include "platform/software/bmp_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace grazefall::platform::software {
namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMaxHeaderSize = 124;

uint16_t U16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
int32_t I32(std::span<const uint8_t> b, size_t at) {
  return static_cast<int32_t>(U32(b, at));
}

// One colour channel of a BITFIELDS pixel, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  static Channel From(uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask == 0) return c;
    c.shift = std::countr_zero(mask);
    c.bits = std::countr_one(mask >> c.shift);
    return c;
  }
  uint8_t extract(uint32_t pixel) const {
    if (bits == 0) return 0;
    const uint32_t v = (pixel >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1u));
    if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
    const uint32_t top = (1u << bits) - 1u;
    return static_cast<uint8_t>((v * 255u + top / 2) / top);
  }
};

struct Header {
  int32_t width = 0;
  int32_t height = 0;  // rows, always positive here
  bool topDown = false;
  int bitCount = 0;
  uint32_t compression = kBiRgb;
  uint32_t colorsUsed = 0;
  bool core = false;  // OS/2 1.x: three-byte colour table entries
  size_t headerEnd = 0;
  std::array<uint32_t, 3> masks{};
  bool hasMasks = false;
};

std::optional<Header> ReadHeader(std::span<const uint8_t> bytes) {
  if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') return {};
  const uint32_t headerSize = U32(bytes, kFileHeaderSize);
  if (headerSize < kCoreHeaderSize || headerSize > kMaxHeaderSize ||
      bytes.size() < kFileHeaderSize + headerSize) {
    return {};
  }
  Header h;
  const size_t at = kFileHeaderSize;
  h.headerEnd = at + headerSize;
  uint16_t planes = 0;
  int64_t height = 0;
  if (headerSize == kCoreHeaderSize) {
    h.core = true;
    h.width = U16(bytes, at + 4);
    height = U16(bytes, at + 6);
    planes = U16(bytes, at + 8);
    h.bitCount = U16(bytes, at + 10);
  } else {
    if (headerSize < kInfoHeaderSize) return {};
    h.width = I32(bytes, at + 4);
    height = I32(bytes, at + 8);
    planes = U16(bytes, at + 12);
    h.bitCount = U16(bytes, at + 14);
    h.compression = U32(bytes, at + 16);
    h.colorsUsed = U32(bytes, at + 32);
    if (headerSize >= 52) {
      h.masks = {U32(bytes, at + 40), U32(bytes, at + 44), U32(bytes, at + 48)};
      h.hasMasks = true;
    }
  }
  if (planes != 1) return {};
  if (height < 0) {
    h.topDown = true;
    height = -height;
  }
  if (h.width <= 0 || height <= 0 || h.width > kMaxBitmapSide || height > kMaxBitmapSide) return {};
  h.height = static_cast<int32_t>(height);
  if (static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height) * sizeof(ColorRef) >
      kMaxBitmapBytes) {
    return {};
  }
  switch (h.bitCount) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 24:
      break;
    case 16:
    case 32:
      if (h.core) return {};
      break;
    default:
      return {};
  }
  const bool bitfields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
  if (h.compression == kBiRle8 && h.bitCount != 8) return {};
  if (h.compression == kBiRle4 && h.bitCount != 4) return {};
  if (bitfields && h.bitCount != 16 && h.bitCount != 32) return {};
  if (h.compression != kBiRgb && h.compression != kBiRle8 && h.compression != kBiRle4 &&
      !bitfields) {
    return {};
  }
  // Rows of a compressed picture always run bottom-up.
  if (h.topDown && (h.compression == kBiRle8 || h.compression == kBiRle4)) return {};
  if (bitfields && headerSize == kInfoHeaderSize) {
    // The masks follow the plain header.
    if (bytes.size() < h.headerEnd + 12) return {};
    h.masks = {U32(bytes, h.headerEnd), U32(bytes, h.headerEnd + 4), U32(bytes, h.headerEnd + 8)};
    h.hasMasks = true;
    h.headerEnd += (h.compression == kBiAlphaBitfields) ? 16 : 12;
  }
  if (!bitfields) h.hasMasks = false;
  return h;
}

std::vector<ColorRef> ReadColorTable(std::span<const uint8_t> bytes, const Header& h,
                                     size_t pixelOffset) {
  if (h.bitCount > 8) return {};
  const uint32_t full = 1u << h.bitCount;
  uint32_t count = h.colorsUsed == 0 || h.colorsUsed > full ? full : h.colorsUsed;
  const size_t entry = h.core ? 3 : 4;
  // The table may not reach into the pixels or past the end of the file.
  const size_t end = std::min(bytes.size(), std::max(pixelOffset, h.headerEnd));
  const size_t room = (end - h.headerEnd) / entry;
  if (count > room) count = static_cast<uint32_t>(room);
  std::vector<ColorRef> table(full, Rgb(0, 0, 0));
  for (uint32_t i = 0; i < count; ++i) {
    const size_t at = h.headerEnd + i * entry;
    table[i] = Rgb(bytes[at + 2], bytes[at + 1], bytes[at]);
  }
  return table;
}

class PictureRows {
 public:
  PictureRows(Picture& picture, bool topDown) : picture_(picture), topDown_(topDown) {}
  // Row `fileRow` in the order the file stores rows.
  ColorRef* row(int32_t fileRow) {
    const int32_t y = topDown_ ? fileRow : picture_.height - 1 - fileRow;
    return picture_.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(picture_.width);
  }

 private:
  Picture& picture_;
  bool topDown_;
};

bool DecodeUncompressed(std::span<const uint8_t> bytes, size_t offset, const Header& h,
                        const std::vector<ColorRef>& table, Picture& picture) {
  const uint64_t rowBits = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.bitCount);
  const uint64_t stride = (rowBits + 31) / 32 * 4;
  const uint64_t lastRow = (rowBits + 7) / 8;
  // Every row must be there; the last one may lack its padding.
  if (offset > bytes.size() ||
      stride * static_cast<uint64_t>(h.height - 1) + lastRow > bytes.size() - offset) {
    return false;
  }
  std::array<Channel, 3> channels;
  if (h.bitCount == 16 || h.bitCount == 32) {
    std::array<uint32_t, 3> masks = h.hasMasks ? h.masks
                                    : h.bitCount == 16
                                        ? std::array<uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                        : std::array<uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 3; ++i) channels[i] = Channel::From(masks[i]);
  }
  const uint32_t indexMask = h.bitCount <= 8 ? (1u << h.bitCount) - 1u : 0;
  PictureRows rows(picture, h.topDown);
  for (int32_t r = 0; r < h.height; ++r) {
    const uint8_t* src = bytes.data() + offset + static_cast<size_t>(stride) * r;
    ColorRef* out = rows.row(r);
    for (int32_t x = 0; x < h.width; ++x) {
      switch (h.bitCount) {
        case 1:
        case 2:
        case 4:
        case 8: {
          const uint64_t bit = static_cast<uint64_t>(x) * h.bitCount;
          const int shift = 8 - h.bitCount - static_cast<int>(bit % 8);
          out[x] = table[(src[bit / 8] >> shift) & indexMask];
          break;
        }
        case 16:
        case 32: {
          const uint8_t* p = src + static_cast<size_t>(x) * (h.bitCount / 8);
          uint32_t v = p[0] | (p[1] << 8);
          if (h.bitCount == 32)
            v |= (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
          out[x] = Rgb(channels[0].extract(v), channels[1].extract(v), channels[2].extract(v));
          break;
        }
        default: {  // 24
          const uint8_t* p = src + static_cast<size_t>(x) * 3;
          out[x] = Rgb(p[2], p[1], p[0]);
          break;
        }
      }
    }
  }
  return true;
}

// Run-length encoded pixels; places the file never sets keep colour 0 of the
// table. Fails on an instruction cut off by the end of the data; data that
// simply stops before the end-of-picture mark keeps what was drawn.
bool DecodeRle(std::span<const uint8_t> bytes, size_t offset, const Header& h,
               const std::vector<ColorRef>& table, Picture& picture) {
  if (offset > bytes.size()) return false;
  std::fill(picture.pixels.begin(), picture.pixels.end(), table[0]);
  const bool four = h.compression == kBiRle4;
  PictureRows rows(picture, false);
  size_t at = offset;
  int64_t x = 0, y = 0;
  const auto put = [&](uint32_t index) {
    if (x < h.width && y < h.height) rows.row(static_cast<int32_t>(y))[x] = table[index];
    ++x;
  };
  while (at < bytes.size()) {
    if (bytes.size() - at < 2) return false;
    const uint8_t count = bytes[at];
    const uint8_t value = bytes[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? ((i % 2 == 0) ? value >> 4 : value & 15) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      return true;
    } else if (value == 2) {  // move right and up
      if (bytes.size() - at < 2) return false;
      x += bytes[at];
      y += bytes[at + 1];
      at += 2;
    } else {  // `value` literal pixels, padded to a 16-bit boundary
      const size_t length = four ? (value + 1u) / 2u : value;
      const size_t padded = (length + 1u) & ~size_t{1};
      if (bytes.size() - at < length) return false;
      for (int i = 0; i < value; ++i) {
        const uint8_t b = bytes[at + (four ? i / 2 : i)];
        put(four ? ((i % 2 == 0) ? b >> 4 : b & 15) : b);
      }
      at += std::min(padded, bytes.size() - at);
    }
    if (y >= h.height) return true;
  }
  return true;
}

}  // namespace

std::optional<Picture> DecodeBmp(std::span<const uint8_t> bytes) {
  const std::optional<Header> header = ReadHeader(bytes);
  if (!header) return std::nullopt;
  const Header& h = *header;
  size_t offset = U32(bytes, 10);
  if (offset == 0) {
    // Some writers leave the offset out: the pixels follow the colour table.
    const uint32_t entries =
        h.bitCount <= 8 ? (h.colorsUsed ? h.colorsUsed : 1u << h.bitCount) : h.colorsUsed;
    offset = h.headerEnd + static_cast<size_t>(entries) * (h.core ? 3 : 4);
  }
  if (offset < h.headerEnd || offset >= bytes.size()) return std::nullopt;
  const std::vector<ColorRef> table = ReadColorTable(bytes, h, offset);

  Picture picture;
  picture.width = h.width;
  picture.height = h.height;
  picture.pixels.assign(static_cast<size_t>(h.width) * static_cast<size_t>(h.height), 0);
  const bool ok = (h.compression == kBiRle8 || h.compression == kBiRle4)
                      ? DecodeRle(bytes, offset, h, table, picture)
                      : DecodeUncompressed(bytes, offset, h, table, picture);
  if (!ok) return std::nullopt;
  return picture;
}

std::optional<Picture> LoadBmpFile(std::string_view path) {
  const std::string name(path);
  // Only plain files: opening a pipe or a device could block or never end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(name, error)) return std::nullopt;
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(name.c_str(), "rb"), &std::fclose);
  if (!file) return std::nullopt;
  // Headers, a full colour table and the largest picture allowed.
  constexpr size_t kMaxFileBytes = kMaxBitmapBytes + 4096;
  std::vector<uint8_t> bytes;
  std::array<uint8_t, 65536> chunk;
  size_t got = 0;
  while ((got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
    if (bytes.size() + got > kMaxFileBytes) return std::nullopt;
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
  }
  if (std::ferror(file.get())) return std::nullopt;
  return DecodeBmp(bytes);
}

}  // namespace grazefall::platform::software
