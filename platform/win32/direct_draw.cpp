#include "platform/win32/direct_draw.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/blit_clipping.h"
#include "platform/win32/gdi_font.h"

namespace grazefall::platform::win32 {
namespace {

constexpr DWORD kFullScreenCooperation = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT;

int32_t Status(HRESULT result) {
  return static_cast<int32_t>(result);
}

RECT ToRect(const Rect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

// Owns a surface's GDI device context for one drawing step.
class SurfaceDc {
 public:
  explicit SurfaceDc(IDirectDrawSurface* surface) : surface_(surface) {
    if (surface_->GetDC(&dc_) != DD_OK) dc_ = nullptr;
  }
  ~SurfaceDc() {
    if (dc_ != nullptr) surface_->ReleaseDC(dc_);
  }
  SurfaceDc(const SurfaceDc&) = delete;
  SurfaceDc& operator=(const SurfaceDc&) = delete;
  HDC get() const { return dc_; }

 private:
  IDirectDrawSurface* surface_;
  HDC dc_ = nullptr;
};

HRESULT CALLBACK CollectMode(LPDDSURFACEDESC description, LPVOID context) {
  auto* modes = static_cast<std::vector<DisplayMode>*>(context);
  modes->push_back(DisplayMode{static_cast<int32_t>(description->dwWidth),
                               static_cast<int32_t>(description->dwHeight),
                               static_cast<int32_t>(description->ddpfPixelFormat.dwRGBBitCount)});
  return DDENUMRET_OK;
}

}  // namespace

// --- DirectDrawSurface ---

DirectDrawSurface::DirectDrawSurface(ComPtr<IDirectDraw> directDraw,
                                     ComPtr<IDirectDrawSurface> surface)
    : directDraw_(std::move(directDraw)), surface_(std::move(surface)) {
  DDSURFACEDESC description{};
  description.dwSize = sizeof(description);
  if (surface_->GetSurfaceDesc(&description) == DD_OK) {
    width_ = static_cast<int32_t>(description.dwWidth);
    height_ = static_cast<int32_t>(description.dwHeight);
    bitDepth_ = static_cast<int32_t>(description.ddpfPixelFormat.dwRGBBitCount);
  }
}

int32_t DirectDrawSurface::fill(uint32_t pixelValue) {
  DDBLTFX effects{};
  effects.dwSize = sizeof(effects);
  effects.dwFillColor = pixelValue;
  return Status(surface_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects));
}

int32_t DirectDrawSurface::blit(const Rect& destination, Surface& from, const Rect& source,
                                bool keyed) {
  auto* fromSurface = dynamic_cast<DirectDrawSurface*>(&from);
  if (fromSurface == nullptr || !fromSurface->surface_) return Status(DDERR_INVALIDPARAMS);
  Rect destinationCut = destination;
  Rect sourceCut = source;
  // The source must stay inside its surface, the destination inside this
  // one; the clipper (when set) then cuts the destination to its list.
  if (!ClipBlit(&sourceCut, &destinationCut, Rect{0, 0, from.width(), from.height()}) ||
      !ClipBlit(&destinationCut, &sourceCut, Rect{0, 0, width_, height_})) {
    return kOk;  // nothing of it is visible
  }
  RECT destinationRect = ToRect(destinationCut);
  RECT sourceRect = ToRect(sourceCut);
  DWORD flags = DDBLT_WAIT;
  if (keyed && fromSurface->hasColorKey_) flags |= DDBLT_KEYSRC;
  return Status(
      surface_->Blt(&destinationRect, fromSurface->surface_.get(), &sourceRect, flags, nullptr));
}

int32_t DirectDrawSurface::setClipList(std::span<const Rect> rectangles) {
  if (rectangles.empty()) {
    hasClipper_ = false;
    return Status(surface_->SetClipper(nullptr));
  }
  ComPtr<IDirectDrawClipper> clipper;
  HRESULT result = directDraw_->CreateClipper(0, clipper.put(), nullptr);
  if (result != DD_OK) return Status(result);

  // The region block: a header followed by the rectangles, with their
  // bounding box in the header.
  std::vector<std::byte> block(sizeof(RGNDATAHEADER) + rectangles.size() * sizeof(RECT));
  auto* region = reinterpret_cast<RGNDATA*>(block.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = static_cast<DWORD>(rectangles.size());
  region->rdh.nRgnSize = static_cast<DWORD>(rectangles.size() * sizeof(RECT));
  RECT bound{64000, 64000, -64000, -64000};
  for (size_t i = 0; i < rectangles.size(); ++i) {
    const RECT r = ToRect(rectangles[i]);
    std::memcpy(block.data() + sizeof(RGNDATAHEADER) + i * sizeof(RECT), &r, sizeof(RECT));
    bound.left = std::min(bound.left, r.left);
    bound.top = std::min(bound.top, r.top);
    bound.right = std::max(bound.right, r.right);
    bound.bottom = std::max(bound.bottom, r.bottom);
  }
  region->rdh.rcBound = bound;
  result = clipper->SetClipList(region, 0);
  if (result != DD_OK) return Status(result);
  result = surface_->SetClipper(clipper.get());
  if (result == DD_OK) hasClipper_ = true;
  return Status(result);
}

void DirectDrawSurface::setColorKey(uint32_t pixelValue) {
  DDCOLORKEY key{pixelValue, pixelValue};
  surface_->SetColorKey(DDCKEY_SRCBLT, &key);
  hasColorKey_ = true;
  colorKey_ = pixelValue;
}

ColorRef DirectDrawSurface::getPixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kClrInvalid;
  SurfaceDc dc(surface_.get());
  if (dc.get() == nullptr) return kClrInvalid;
  return GetPixel(dc.get(), x, y);
}

ColorRef DirectDrawSurface::setPixel(int32_t x, int32_t y, ColorRef color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kClrInvalid;
  SurfaceDc dc(surface_.get());
  if (dc.get() == nullptr) return kClrInvalid;
  return SetPixel(dc.get(), x, y, color);
}

bool DirectDrawSurface::readFirstPixelWord(uint32_t* word) {
  DDSURFACEDESC description{};
  description.dwSize = sizeof(description);
  HRESULT result;
  do {
    result = surface_->Lock(nullptr, &description, 0, nullptr);
  } while (result == DDERR_WASSTILLDRAWING);
  if (result != DD_OK) return false;
  uint32_t value = 0;
  // A one-pixel 16-bit surface may hold fewer than four bytes in its row.
  const size_t available = description.lPitch > 0 ? static_cast<size_t>(description.lPitch) : 0;
  std::memcpy(&value, description.lpSurface, std::min<size_t>(sizeof(value), available));
  surface_->Unlock(description.lpSurface);
  *word = value;
  return true;
}

uint32_t DirectDrawSurface::pixelValueOf(ColorRef color) {
  // Only GDI knows how a colour maps to this format: it is written into
  // pixel (0, 0) through GDI and the raw value read back through a lock; the
  // pixel's own colour is put back afterwards.
  ColorRef remembered = kClrInvalid;
  bool changed = false;
  if (color != kClrInvalid) {
    remembered = getPixel(0, 0);
    if (remembered != kClrInvalid) {
      setPixel(0, 0, color);
      changed = true;
    }
  }

  uint32_t result = kClrInvalid;
  uint32_t word = 0;
  if (readFirstPixelWord(&word)) {
    result = (bitDepth_ <= 0 || bitDepth_ >= 32) ? word : (word & ((1u << bitDepth_) - 1u));
  }

  if (changed) setPixel(0, 0, remembered);
  return result;
}

int32_t DirectDrawSurface::drawPicture(const Picture& picture, const Rect& source) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() < static_cast<size_t>(picture.width) * picture.height) {
    return Status(E_FAIL);
  }
  SurfaceDc surfaceDc(surface_.get());
  if (surfaceDc.get() == nullptr) return Status(E_FAIL);
  HDC memoryDc = CreateCompatibleDC(nullptr);
  if (memoryDc == nullptr) return Status(E_FAIL);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  int32_t status = Status(E_FAIL);
  if (bitmap != nullptr) {
    // ColorRef is 0x00BBGGRR; a 32-bit DIB pixel is 0x00RRGGBB.
    auto* out = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(picture.width) * picture.height; ++i) {
      const ColorRef c = picture.pixels[i];
      out[i] = (uint32_t{RedOf(c)} << 16) | (uint32_t{GreenOf(c)} << 8) | BlueOf(c);
    }
    GdiFlush();
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    const int sourceWidth = source.width() > 0 ? source.width() : picture.width;
    const int sourceHeight = source.height() > 0 ? source.height() : picture.height;
    if (StretchBlt(surfaceDc.get(), 0, 0, width_, height_, memoryDc, source.left, source.top,
                   sourceWidth, sourceHeight, SRCCOPY)) {
      status = kOk;
    }
    SelectObject(memoryDc, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memoryDc);
  return status;
}

int32_t DirectDrawSurface::drawText(int32_t x, int32_t y, std::string_view text, const Font* font,
                                    ColorRef color, bool transparent) {
  SurfaceDc dc(surface_.get());
  if (dc.get() == nullptr) return Status(E_FAIL);
  HGDIOBJ previous = nullptr;
  if (const auto* gdiFont = dynamic_cast<const GdiFont*>(font);
      gdiFont != nullptr && gdiFont->handle() != nullptr) {
    previous = SelectObject(dc.get(), gdiFont->handle());
  }
  SetTextColor(dc.get(), color);
  SetBkColor(dc.get(), 0);
  SetBkMode(dc.get(), transparent ? TRANSPARENT : OPAQUE);
  const std::string line(text);
  const BOOL written = TextOutA(dc.get(), x, y, line.c_str(), static_cast<int>(line.size()));
  if (previous != nullptr) SelectObject(dc.get(), previous);
  return written ? kOk : Status(E_FAIL);
}

void DirectDrawSurface::restore() {
  surface_->Restore();
}

// --- DirectDrawDevice ---

std::unique_ptr<DirectDrawDevice> DirectDrawDevice::Create() {
  ComPtr<IDirectDraw> directDraw;
  if (DirectDrawCreate(nullptr, directDraw.put(), nullptr) != DD_OK || !directDraw) return nullptr;
  return std::unique_ptr<DirectDrawDevice>(new DirectDrawDevice(std::move(directDraw)));
}

DirectDrawDevice::DirectDrawDevice(ComPtr<IDirectDraw> directDraw)
    : directDraw_(std::move(directDraw)) {}

int32_t DirectDrawDevice::takeFullScreen(WindowHandle window) {
  return Status(
      directDraw_->SetCooperativeLevel(reinterpret_cast<HWND>(window), kFullScreenCooperation));
}

int32_t DirectDrawDevice::setMode(const DisplayMode& mode) {
  if (mode.width <= 0 || mode.height <= 0 || mode.bitDepth <= 0) return Status(DDERR_INVALIDMODE);
  return Status(directDraw_->SetDisplayMode(static_cast<DWORD>(mode.width),
                                            static_cast<DWORD>(mode.height),
                                            static_cast<DWORD>(mode.bitDepth)));
}

std::unique_ptr<Surface> DirectDrawDevice::createPrimary() {
  DDSURFACEDESC description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  description.dwBackBufferCount = 1;
  ComPtr<IDirectDrawSurface> surface;
  if (directDraw_->CreateSurface(&description, surface.put(), nullptr) != DD_OK || !surface) {
    return nullptr;
  }
  return std::make_unique<DirectDrawSurface>(directDraw_, std::move(surface));
}

std::unique_ptr<Surface> DirectDrawDevice::backBufferOf(Surface& primary) {
  auto* chain = dynamic_cast<DirectDrawSurface*>(&primary);
  if (chain == nullptr || chain->raw() == nullptr) return nullptr;
  DDSCAPS caps{DDSCAPS_BACKBUFFER};
  ComPtr<IDirectDrawSurface> back;
  if (chain->raw()->GetAttachedSurface(&caps, back.put()) != DD_OK || !back) return nullptr;
  return std::make_unique<DirectDrawSurface>(directDraw_, std::move(back));
}

int32_t DirectDrawDevice::flip(Surface& primary) {
  auto* chain = dynamic_cast<DirectDrawSurface*>(&primary);
  if (chain == nullptr || chain->raw() == nullptr) return Status(DDERR_INVALIDPARAMS);
  return Status(chain->raw()->Flip(nullptr, DDFLIP_WAIT));
}

std::unique_ptr<Surface> DirectDrawDevice::createOffscreen(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  DDSURFACEDESC description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  description.dwWidth = static_cast<DWORD>(width);
  description.dwHeight = static_cast<DWORD>(height);
  ComPtr<IDirectDrawSurface> surface;
  if (directDraw_->CreateSurface(&description, surface.put(), nullptr) != DD_OK || !surface) {
    return nullptr;
  }
  return std::make_unique<DirectDrawSurface>(directDraw_, std::move(surface));
}

bool DirectDrawDevice::currentMode(DisplayMode* mode) {
  DDSURFACEDESC description{};
  description.dwSize = sizeof(description);
  if (directDraw_->GetDisplayMode(&description) != DD_OK) return false;
  *mode = DisplayMode{static_cast<int32_t>(description.dwWidth),
                      static_cast<int32_t>(description.dwHeight),
                      static_cast<int32_t>(description.ddpfPixelFormat.dwRGBBitCount)};
  return true;
}

bool DirectDrawDevice::listModes(std::vector<DisplayMode>* modes) {
  modes->clear();
  return directDraw_->EnumDisplayModes(0, nullptr, modes, CollectMode) == DD_OK;
}

}  // namespace grazefall::platform::win32
