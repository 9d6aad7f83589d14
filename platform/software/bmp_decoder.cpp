#include "platform/software/bmp_decoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/unique_fd.h"

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

// Sets `*problem` (when asked for) and gives nothing.
std::nullopt_t Refuse(std::string* problem, std::string reason) {
  if (problem != nullptr) *problem = std::move(reason);
  return std::nullopt;
}

// The header at the start of `bytes` (which need hold no more than the
// headers): nothing, and why, for anything this decoder does not read or for
// a picture wider or taller than `maxSide`.
std::optional<Header> ReadHeader(std::span<const uint8_t> bytes, int32_t maxSide,
                                 std::string* problem) {
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
    return Refuse(problem, "not a BMP file");
  if (bytes.size() < kFileHeaderSize + 4) return Refuse(problem, "truncated inside its header");
  const uint32_t headerSize = U32(bytes, kFileHeaderSize);
  if (headerSize < kCoreHeaderSize || headerSize > kMaxHeaderSize ||
      (headerSize > kCoreHeaderSize && headerSize < kInfoHeaderSize)) {
    return Refuse(problem, "an unknown header of " + std::to_string(headerSize) + " bytes");
  }
  if (bytes.size() < kFileHeaderSize + headerSize)
    return Refuse(problem, "truncated inside its header");
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
  if (planes != 1) return Refuse(problem, std::to_string(planes) + " colour planes, not 1");
  if (height < 0) {
    h.topDown = true;
    height = -height;
  }
  if (h.width <= 0 || height <= 0)
    return Refuse(problem, "a size of " + std::to_string(h.width) + "x" + std::to_string(height));
  if (h.width > maxSide || height > maxSide ||
      static_cast<uint64_t>(h.width) * static_cast<uint64_t>(height) * sizeof(ColorRef) >
          kMaxBitmapBytes) {
    return Refuse(problem, std::to_string(h.width) + "x" + std::to_string(height) +
                               " pixels, larger than the " + std::to_string(maxSide) + "x" +
                               std::to_string(maxSide) + " allowed");
  }
  h.height = static_cast<int32_t>(height);
  const std::string unsupported = "an unsupported kind of BMP (" + std::to_string(h.bitCount) +
                                  " bits per pixel, compression " + std::to_string(h.compression) +
                                  ")";
  switch (h.bitCount) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 24:
      break;
    case 16:
    case 32:
      if (h.core) return Refuse(problem, unsupported);
      break;
    default:
      return Refuse(problem, unsupported);
  }
  const bool bitfields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
  if ((h.compression == kBiRle8 && h.bitCount != 8) ||
      (h.compression == kBiRle4 && h.bitCount != 4) ||
      (bitfields && h.bitCount != 16 && h.bitCount != 32) ||
      (h.compression != kBiRgb && h.compression != kBiRle8 && h.compression != kBiRle4 &&
       !bitfields)) {
    return Refuse(problem, unsupported);
  }
  // Rows of a compressed picture always run bottom-up.
  if (h.topDown && (h.compression == kBiRle8 || h.compression == kBiRle4))
    return Refuse(problem, "compressed rows stored top-down");
  if (bitfields && headerSize == kInfoHeaderSize) {
    // The masks follow the plain header.
    if (bytes.size() < h.headerEnd + 12) return Refuse(problem, "truncated inside its header");
    h.masks = {U32(bytes, h.headerEnd), U32(bytes, h.headerEnd + 4), U32(bytes, h.headerEnd + 8)};
    h.hasMasks = true;
    h.headerEnd += (h.compression == kBiAlphaBitfields) ? 16 : 12;
  }
  if (!bitfields) h.hasMasks = false;
  return h;
}

// Where the pixels start, and the header, checked against the size of the
// whole file before any pixel is read: an uncompressed picture must hold all
// of its rows (the last one may lack its padding).
struct Layout {
  Header header;
  size_t offset = 0;
};

std::optional<Layout> ReadLayout(std::span<const uint8_t> bytes, uint64_t fileSize, int32_t maxSide,
                                 std::string* problem) {
  std::optional<Header> header = ReadHeader(bytes, maxSide, problem);
  if (!header) return std::nullopt;
  const Header& h = *header;
  uint64_t offset = U32(bytes, 10);
  if (offset == 0) {
    // Some writers leave the offset out: the pixels follow the colour table.
    const uint32_t entries =
        h.bitCount <= 8 ? (h.colorsUsed ? h.colorsUsed : 1u << h.bitCount) : h.colorsUsed;
    offset = h.headerEnd + uint64_t{entries} * (h.core ? 3 : 4);
  }
  if (offset < h.headerEnd) return Refuse(problem, "its pixels start inside its header");
  if (offset >= fileSize) return Refuse(problem, "truncated before its pixels");
  if (h.compression != kBiRle8 && h.compression != kBiRle4) {
    const uint64_t rowBits = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.bitCount);
    const uint64_t stride = (rowBits + 31) / 32 * 4;
    const uint64_t needed =
        offset + stride * static_cast<uint64_t>(h.height - 1) + (rowBits + 7) / 8;
    if (needed > fileSize) {
      return Refuse(problem, "truncated: its header asks for " + std::to_string(needed) +
                                 " bytes, the file has " + std::to_string(fileSize));
    }
  }
  return Layout{h, static_cast<size_t>(offset)};
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

std::optional<Picture> Decode(std::span<const uint8_t> bytes, int32_t maxSide,
                              std::string* problem) {
  const std::optional<Layout> layout = ReadLayout(bytes, bytes.size(), maxSide, problem);
  if (!layout) return std::nullopt;
  const Header& h = layout->header;
  const size_t offset = layout->offset;
  const std::vector<ColorRef> table = ReadColorTable(bytes, h, offset);

  Picture picture;
  picture.width = h.width;
  picture.height = h.height;
  picture.pixels.assign(static_cast<size_t>(h.width) * static_cast<size_t>(h.height), 0);
  const bool ok = (h.compression == kBiRle8 || h.compression == kBiRle4)
                      ? DecodeRle(bytes, offset, h, table, picture)
                      : DecodeUncompressed(bytes, offset, h, table, picture);
  if (!ok) return Refuse(problem, "truncated inside its pixels");
  return picture;
}

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// Appends up to `count` bytes read from `fd`; false on a read error.
bool ReadUpTo(int fd, size_t count, std::vector<uint8_t>& bytes) {
  const size_t start = bytes.size();
  bytes.resize(start + count);
  size_t total = 0;
  while (total < count) {
    const ssize_t got = ::read(fd, bytes.data() + start + total, count - total);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    total += static_cast<size_t>(got);
  }
  bytes.resize(start + total);
  return true;
}

}  // namespace

std::optional<Picture> DecodeBmp(std::span<const uint8_t> bytes) {
  return Decode(bytes, kMaxBitmapSide, nullptr);
}

BmpFile ReadBmpFile(std::string_view path) {
  BmpFile result;
  const std::string name(path);
  // Only plain files: reading a pipe or a device could block or never end.
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) {
    result.problem = errno == ENOENT ? "no such file" : std::strerror(errno);
    return result;
  }
  if (!S_ISREG(info.st_mode)) {
    result.problem = KindOf(info.st_mode) + ", not a picture file";
    return result;
  }
  // Non-blocking, in case something else took the name since the look above.
  const UniqueFd fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
    result.problem = std::strerror(errno);
    return result;
  }
  if (!S_ISREG(info.st_mode)) {
    result.problem = KindOf(info.st_mode) + ", not a picture file";
    return result;
  }
  const uint64_t fileSize = static_cast<uint64_t>(info.st_size);
  // The headers and masks first, weighed against the file's size before the
  // pixels are read.
  constexpr size_t kHeadersSize = kFileHeaderSize + kMaxHeaderSize + 16;
  std::vector<uint8_t> bytes;
  if (!ReadUpTo(fd.get(), kHeadersSize, bytes)) {
    result.problem = std::strerror(errno);
    return result;
  }
  if (bytes.size() > fileSize) {
    result.problem = "changed while it was read";
    return result;
  }
  if (!ReadLayout(bytes, fileSize, kMaxPictureFileSide, &result.problem)) return result;
  if (fileSize > kMaxBitmapFileBytes) {
    result.problem = std::to_string(fileSize) + " bytes, larger than any picture allowed (" +
                     std::to_string(kMaxBitmapFileBytes) + ")";
    return result;
  }
  // One byte more than the size, to notice a file that grew meanwhile.
  if (!ReadUpTo(fd.get(), static_cast<size_t>(fileSize) + 1 - bytes.size(), bytes)) {
    result.problem = std::strerror(errno);
    return result;
  }
  if (bytes.size() != fileSize) {
    result.problem = "changed while it was read";
    return result;
  }
  result.picture = Decode(bytes, kMaxPictureFileSide, &result.problem);
  return result;
}

std::optional<Picture> LoadBmpFile(std::string_view path) {
  return ReadBmpFile(path).picture;
}

}  // namespace grazefall::platform::software
