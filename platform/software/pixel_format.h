// How a ColorRef becomes a pixel value of each supported depth and back.
//
// Every surface of the software backend stores its pixels in one of four
// fixed formats, chosen by bit depth:
//   8 bits:  one byte, RRRGGGBB (red in the top three bits, blue in the low
//            two). This is the one fixed palette of 8-bit modes: index i is
//            the colour whose channels are the bits of i, widened by
//            repeating them, so no palette object is ever needed;
//   16 bits: RGB565 (RRRRRGGG GGGBBBBB), stored little-endian;
//   24 bits: three bytes B, G, R, so the little-endian value is 0xRRGGBB;
//   32 bits: four bytes B, G, R, 0, the value 0x00RRGGBB.
// Encoding truncates each channel to its bits; decoding widens the bits by
// repetition, so white stays white and black stays black in every depth.
// The same two functions serve pictures, single pixels and colour keys, so a
// colour always turns into the same pixel value.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/types.h"

namespace grazefall::platform::software {

constexpr bool IsSupportedDepth(int32_t bitDepth) {
  return bitDepth == 8 || bitDepth == 16 || bitDepth == 24 || bitDepth == 32;
}

constexpr int32_t BytesPerPixel(int32_t bitDepth) {
  return bitDepth / 8;
}

// The value of the pixel of `bytesPerPixel` bytes stored at `p`.
inline uint32_t PixelValueAt(const uint8_t* p, int32_t bytesPerPixel) {
  switch (bytesPerPixel) {
    case 1:
      return p[0];
    case 2: {
      uint16_t v;
      std::memcpy(&v, p, 2);
      return v;
    }
    case 3:
      return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
    default: {
      uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
}

constexpr uint32_t EncodeColor(ColorRef color, int32_t bitDepth) {
  const uint32_t r = RedOf(color);
  const uint32_t g = GreenOf(color);
  const uint32_t b = BlueOf(color);
  switch (bitDepth) {
    case 8:
      return (r & 0xE0u) | ((g & 0xE0u) >> 3) | (b >> 6);
    case 16:
      return ((r & 0xF8u) << 8) | ((g & 0xFCu) << 3) | (b >> 3);
    default:
      return (r << 16) | (g << 8) | b;
  }
}

namespace detail {
constexpr uint8_t Widen3(uint32_t v) {
  return static_cast<uint8_t>((v << 5) | (v << 2) | (v >> 1));
}
constexpr uint8_t Widen2(uint32_t v) {
  return static_cast<uint8_t>(v * 0x55u);
}
constexpr uint8_t Widen5(uint32_t v) {
  return static_cast<uint8_t>((v << 3) | (v >> 2));
}
constexpr uint8_t Widen6(uint32_t v) {
  return static_cast<uint8_t>((v << 2) | (v >> 4));
}
}  // namespace detail

constexpr ColorRef DecodeColor(uint32_t pixel, int32_t bitDepth) {
  switch (bitDepth) {
    case 8:
      return Rgb(detail::Widen3((pixel >> 5) & 7u), detail::Widen3((pixel >> 2) & 7u),
                 detail::Widen2(pixel & 3u));
    case 16:
      return Rgb(detail::Widen5((pixel >> 11) & 31u), detail::Widen6((pixel >> 5) & 63u),
                 detail::Widen5(pixel & 31u));
    default:
      return Rgb(static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                 static_cast<uint8_t>(pixel));
  }
}

// The pixel value with only the low `bitDepth` bits kept.
constexpr uint32_t MaskToDepth(uint32_t word, int32_t bitDepth) {
  return bitDepth >= 32 ? word : word & ((1u << bitDepth) - 1u);
}

}  // namespace grazefall::platform::software
