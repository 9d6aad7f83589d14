#include "platform/software/software_font.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <strings.h>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/software/builtin_font.h"
#include "platform/software/pixel_format.h"
#include "platform/software/software_surface.h"

namespace grazefall::platform::software {
namespace {

// The height asked for when a caller leaves it 0.
constexpr int32_t kDefaultTextHeight = 16;
constexpr int32_t kMaxTextHeight = 512;

struct FontFile {
  std::string path;
  int index = 0;
  std::string family;
};

// The file of the best match for `pattern` (consumed), if it is a scalable
// face; `wantFamily` non-empty also requires that family.
std::optional<FontFile> MatchFont(FcPattern* pattern, std::string_view wantFamily) {
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return std::nullopt;
  std::optional<FontFile> found;
  FcChar8* file = nullptr;
  FcChar8* family = nullptr;
  FcBool scalable = FcFalse;
  int index = 0;
  FcPatternGetBool(match, FC_SCALABLE, 0, &scalable);
  FcPatternGetInteger(match, FC_INDEX, 0, &index);
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
      FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && scalable) {
    const std::string familyName(reinterpret_cast<const char*>(family));
    const bool familyOk = wantFamily.empty() || (familyName.size() == wantFamily.size() &&
                                                 strncasecmp(familyName.c_str(), wantFamily.data(),
                                                             wantFamily.size()) == 0);
    if (familyOk) found = FontFile{reinterpret_cast<const char*>(file), index, familyName};
  }
  FcPatternDestroy(match);
  return found;
}

// Loads the font configuration once; it is released when the process ends
// so that leak checkers see no configuration left behind.
bool EnsureFontconfig() {
  static const bool ready = [] {
    if (FcInit() == FcFalse) return false;
    std::atexit([] { FcFini(); });
    return true;
  }();
  return ready;
}

std::optional<FontFile> FindFontFile(std::string_view face, bool bold) {
  if (!EnsureFontconfig()) return std::nullopt;
  const int weight = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
  if (!face.empty()) {
    const std::string name(face);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight);
    if (auto exact = MatchFont(pattern, face)) return exact;
  }
  // The face is not installed: the nearest monospace one stands in.
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("monospace"));
  FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
  FcPatternAddInteger(pattern, FC_WEIGHT, weight);
  return MatchFont(pattern, {});
}

bool EnsureTtf() {
  return TTF_WasInit() > 0 || TTF_Init() == 0;
}

// Windows-1252 bytes 0x80..0x9F as Unicode; the rest of the code page is
// Latin-1. Undefined bytes become '?'.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, '?',    0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, '?',    0x017D, '?',    '?',    0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, '?',    0x017E, 0x0178};

std::string ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    uint32_t code = byte;
    if (byte >= 0x80 && byte < 0xA0) code = kCp1252High[byte - 0x80];
    if (code == 0) break;  // a NUL ends the line, as it ends a C string
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

std::string_view UpToNul(std::string_view text) {
  const size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

const SoftwareFont* AsSoftwareFont(const Font* font) {
  return dynamic_cast<const SoftwareFont*>(font);
}

void FillBox(SoftwareSurface& target, int64_t x, int64_t y, int64_t w, int64_t h) {
  const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(x + w, target.width());
  const int64_t bottom = std::min<int64_t>(y + h, target.height());
  for (int64_t py = top; py < bottom; ++py) {
    for (int64_t px = left; px < right; ++px) {
      target.putPixelValue(static_cast<int32_t>(px), static_cast<int32_t>(py), 0);
    }
  }
}

// `start + length` held in an int32_t, saturating where it would overflow.
int32_t SaturatedSide(int32_t start, int64_t length) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{start} + length, INT32_MIN, INT32_MAX));
}

void PutClipped(SoftwareSurface& target, int64_t x, int64_t y, uint32_t value) {
  if (x < 0 || y < 0 || x >= target.width() || y >= target.height()) return;
  target.putPixelValue(static_cast<int32_t>(x), static_cast<int32_t>(y), value);
}

int32_t DrawBuiltin(SoftwareSurface& target, int64_t x, int64_t y, std::string_view text,
                    uint32_t value, bool transparent) {
  if (!transparent) {
    FillBox(target, x, y, int64_t{kBuiltinGlyphWidth} * static_cast<int64_t>(text.size()),
            kBuiltinGlyphHeight);
  }
  for (size_t i = 0; i < text.size(); ++i) {
    const int64_t cellX = x + static_cast<int64_t>(i) * kBuiltinGlyphWidth;
    if (cellX >= target.width()) break;
    if (cellX + kBuiltinGlyphWidth <= 0) continue;
    for (int32_t row = 0; row < kBuiltinGlyphHeight; ++row) {
      const uint8_t bits = BuiltinGlyphRow(static_cast<unsigned char>(text[i]), row);
      for (int32_t col = 0; col < kBuiltinGlyphWidth; ++col) {
        if (bits & (0x20u >> col)) PutClipped(target, cellX + col, y + row, value);
      }
    }
  }
  return kOk;
}

}  // namespace

std::unique_ptr<SoftwareFont> SoftwareFont::Open(std::string_view face, int32_t height,
                                                 int32_t weight) {
  const bool bold = weight >= 600;
  const std::optional<FontFile> file = FindFontFile(face, bold);
  if (!file || !EnsureTtf()) return nullptr;
  const int64_t asked = height == 0 ? kDefaultTextHeight : height;
  const bool cellHeight = asked > 0;
  const int wanted =
      static_cast<int>(std::clamp<int64_t>(asked < 0 ? -asked : asked, 1, kMaxTextHeight));
  TTF_Font* ttf = TTF_OpenFontIndex(file->path.c_str(), wanted, file->index);
  if (ttf == nullptr) return nullptr;
  // A point size is the em height; a cell also holds the accents and the
  // descenders, so scale to make the line exactly as high as asked.
  const int lineHeight = TTF_FontHeight(ttf);
  if (cellHeight && lineHeight > 0 && lineHeight != wanted) {
    const int scaled = std::max(1, (wanted * wanted + lineHeight / 2) / lineHeight);
    if (TTF_Font* resized = TTF_OpenFontIndex(file->path.c_str(), scaled, file->index)) {
      TTF_CloseFont(ttf);
      ttf = resized;
    }
  }
  if (bold) {
    const std::string styleName = TTF_FontFaceStyleName(ttf) ? TTF_FontFaceStyleName(ttf) : "";
    if (styleName.find("Bold") == std::string::npos) TTF_SetFontStyle(ttf, TTF_STYLE_BOLD);
  }
  return std::unique_ptr<SoftwareFont>(new SoftwareFont(ttf, file->path, file->family));
}

SoftwareFont::~SoftwareFont() {
  if (rendered_ != nullptr) SDL_FreeSurface(rendered_);
  TTF_CloseFont(ttf_);
}

const SDL_Surface* SoftwareFont::glyphs(const std::string& utf8) const {
  if (rendered_ != nullptr && renderedText_ == utf8) return rendered_;
  if (rendered_ != nullptr) SDL_FreeSurface(rendered_);
  rendered_ = TTF_RenderUTF8_Solid(ttf_, utf8.c_str(), SDL_Color{255, 255, 255, 255});
  renderedText_ = rendered_ != nullptr ? utf8 : std::string();
  return rendered_;
}

void MeasureText(std::string_view rawText, const Font* font, int32_t* width, int32_t* height) {
  const std::string_view text = UpToNul(rawText);
  int w = 0, h = 0;
  if (const SoftwareFont* face = AsSoftwareFont(font)) {
    h = TTF_FontHeight(face->ttf());
    if (!text.empty()) TTF_SizeUTF8(face->ttf(), ToUtf8(text).c_str(), &w, nullptr);
  } else {
    w = kBuiltinGlyphWidth * static_cast<int>(std::min<size_t>(text.size(), 1u << 20));
    h = kBuiltinGlyphHeight;
  }
  if (width) *width = w;
  if (height) *height = h;
}

int32_t DrawTextLine(SoftwareSurface& target, int32_t x, int32_t y, std::string_view rawText,
                     const Font* font, ColorRef color, bool transparent, Rect* written) {
  if (written != nullptr) *written = Rect{};
  const std::string_view text = UpToNul(rawText);
  if (text.empty()) return kOk;
  const uint32_t value = EncodeColor(color, target.bitDepth());
  const SoftwareFont* face = AsSoftwareFont(font);
  if (face == nullptr) {
    if (written != nullptr) {
      const int64_t width = int64_t{kBuiltinGlyphWidth} * static_cast<int64_t>(text.size());
      *written = Rect{x, y, SaturatedSide(x, width), SaturatedSide(y, kBuiltinGlyphHeight)};
    }
    return DrawBuiltin(target, x, y, text, value, transparent);
  }

  // Rendered without smoothing, so every text pixel has exactly the text
  // colour, as on a display without font smoothing.
  const SDL_Surface* glyphs = face->glyphs(ToUtf8(text));
  if (glyphs == nullptr) return kEFail;
  const int32_t boxHeight = TTF_FontHeight(face->ttf());
  if (written != nullptr) {
    *written = Rect{x, y, SaturatedSide(x, glyphs->w),
                    SaturatedSide(y, std::max<int64_t>(glyphs->h, transparent ? 0 : boxHeight))};
  }
  if (!transparent) FillBox(target, x, y, glyphs->w, boxHeight);
  for (int gy = 0; gy < glyphs->h; ++gy) {
    const int64_t py = int64_t{y} + gy;
    if (py < 0 || py >= target.height()) continue;
    const auto* row = static_cast<const uint8_t*>(glyphs->pixels) +
                      static_cast<size_t>(gy) * static_cast<size_t>(glyphs->pitch);
    for (int gx = 0; gx < glyphs->w; ++gx) {
      if (row[gx] != 0) PutClipped(target, int64_t{x} + gx, py, value);
    }
  }
  return kOk;
}

}  // namespace grazefall::platform::software
