#include "host/linux/render/png_encoder.h"

#include <zlib.h>

#include <cstdio>

namespace grazefall {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Mostly black frames compress well even at zlib's fastest setting.
constexpr int kCompressionLevel = 3;

void PutBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 24));
  out.push_back(static_cast<uint8_t>(value >> 16));
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  PutBigEndian32(out, static_cast<uint32_t>(data.size()));
  const size_t typeStart = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
  PutBigEndian32(out, static_cast<uint32_t>(crc));
}

}  // namespace

platform::Picture CapturePicture(const platform::Surface& surface) {
  platform::Picture picture;
  picture.width = surface.width();
  picture.height = surface.height();
  if (picture.width <= 0 || picture.height <= 0) {
    picture.width = 0;
    picture.height = 0;
    return picture;
  }
  picture.pixels.reserve(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) picture.pixels.push_back(surface.getPixel(x, y));
  }
  return picture;
}

std::vector<uint8_t> EncodePng(const platform::Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() !=
          static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height)) {
    return {};
  }
  // Each row: filter byte 0 (none), then red, green, blue per pixel.
  const size_t rowBytes = 1 + 3 * static_cast<size_t>(picture.width);
  std::vector<uint8_t> raw(rowBytes * static_cast<size_t>(picture.height));
  size_t at = 0;
  for (int32_t y = 0; y < picture.height; ++y) {
    raw[at++] = 0;
    for (int32_t x = 0; x < picture.width; ++x) {
      const platform::ColorRef color = picture.at(x, y);
      raw[at++] = platform::RedOf(color);
      raw[at++] = platform::GreenOf(color);
      raw[at++] = platform::BlueOf(color);
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                kCompressionLevel) != Z_OK) {
    return {};
  }
  packed.resize(packedSize);

  std::vector<uint8_t> header;
  PutBigEndian32(header, static_cast<uint32_t>(picture.width));
  PutBigEndian32(header, static_cast<uint32_t>(picture.height));
  header.push_back(8);  // bits per channel
  header.push_back(2);  // truecolour
  header.push_back(0);  // deflate
  header.push_back(0);  // adaptive filtering
  header.push_back(0);  // no interlace

  std::vector<uint8_t> file(kSignature, kSignature + sizeof kSignature);
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", packed);
  PutChunk(file, "IEND", {});
  return file;
}

bool WritePngFile(const std::string& path, const platform::Picture& picture) {
  const std::vector<uint8_t> bytes = EncodePng(picture);
  if (bytes.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace grazefall
