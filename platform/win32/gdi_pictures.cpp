#include "platform/win32/gdi_pictures.h"

#include <string>

namespace grazefall::platform::win32 {
namespace {

// Owns a loaded bitmap handle.
class BitmapHandle {
 public:
  explicit BitmapHandle(HANDLE handle) : bitmap_(static_cast<HBITMAP>(handle)) {}
  ~BitmapHandle() {
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
  }
  BitmapHandle(const BitmapHandle&) = delete;
  BitmapHandle& operator=(const BitmapHandle&) = delete;
  HBITMAP get() const { return bitmap_; }

 private:
  HBITMAP bitmap_;
};

}  // namespace

std::optional<Picture> PictureFromBitmap(HBITMAP bitmap) {
  if (bitmap == nullptr) return std::nullopt;
  BITMAP header{};
  if (GetObjectA(bitmap, sizeof(header), &header) == 0) return std::nullopt;
  const int64_t width = header.bmWidth;
  const int64_t height = header.bmHeight < 0 ? -int64_t{header.bmHeight} : header.bmHeight;
  if (width <= 0 || height <= 0 || width * height > kLargestPicturePixels) return std::nullopt;

  Picture picture;
  picture.width = static_cast<int32_t>(width);
  picture.height = static_cast<int32_t>(height);
  picture.pixels.resize(static_cast<size_t>(width * height));

  // GetDIBits converts any depth (palette, 16, 24 bit) to 32-bit 0x00RRGGBB.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return std::nullopt;
  const int rows = GetDIBits(dc, bitmap, 0, static_cast<UINT>(picture.height),
                             picture.pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (rows != picture.height) return std::nullopt;
  for (ColorRef& pixel : picture.pixels) {
    const uint32_t rgb = pixel;
    pixel = Rgb(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                static_cast<uint8_t>(rgb));
  }
  return picture;
}

std::optional<Picture> LoadResourceBitmap(HINSTANCE module, int32_t resourceId) {
  if (resourceId <= 0 || resourceId > 0xFFFF) return std::nullopt;
  BitmapHandle bitmap(
      LoadImageA(module, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  return PictureFromBitmap(bitmap.get());
}

std::optional<Picture> LoadBitmapFile(std::string_view path) {
  if (path.empty()) return std::nullopt;
  const std::string file(path);
  BitmapHandle bitmap(
      LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  return PictureFromBitmap(bitmap.get());
}

}  // namespace grazefall::platform::win32
