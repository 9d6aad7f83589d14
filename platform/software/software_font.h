// Text for the software backend: faces found through fontconfig and drawn
// with SDL2_ttf, and a small built-in bitmap font for when no face exists.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/font.h"
#include "platform/types.h"

typedef struct _TTF_Font TTF_Font;
struct SDL_Surface;

namespace grazefall::platform::software {

class SoftwareSurface;

class SoftwareFont final : public Font {
 public:
  // The face named `face` when fontconfig knows it, otherwise the closest
  // monospace face, opened so that one line of text is `height` pixels high
  // (a negative height asks for that character height, as GDI does); bold
  // from weight 600. Null when no font file can be found or opened.
  static std::unique_ptr<SoftwareFont> Open(std::string_view face, int32_t height, int32_t weight);
  ~SoftwareFont() override;

  TTF_Font* ttf() const { return ttf_; }
  // The file the face was read from, and the family it declares.
  const std::string& file() const { return file_; }
  const std::string& family() const { return family_; }
  // `utf8` rendered unsmoothed, one byte per pixel (0 where there is no ink);
  // null when it cannot be rendered. The last line asked for is kept, since
  // a message is drawn unchanged frame after frame; the surface stays valid
  // until another line is asked for or the font is closed.
  const SDL_Surface* glyphs(const std::string& utf8) const;

 private:
  SoftwareFont(TTF_Font* ttf, std::string file, std::string family)
      : ttf_(ttf), file_(std::move(file)), family_(std::move(family)) {}
  TTF_Font* ttf_;
  std::string file_;
  std::string family_;
  mutable std::string renderedText_;
  mutable SDL_Surface* rendered_ = nullptr;
};

// Width and height in pixels of `text` as DrawTextLine writes it.
void MeasureText(std::string_view text, const Font* font, int32_t* width, int32_t* height);

// Writes one line of single-byte (Windows-1252) text with its top-left corner
// at (x, y), in `color`, on a black box unless `transparent`; cut to the
// surface. A null font, or one that is not a SoftwareFont, uses the built-in
// bitmap font. `*written`, when given, is set to a rectangle (not cut to the
// surface) holding every pixel the line may have changed; empty when none.
int32_t DrawTextLine(SoftwareSurface& target, int32_t x, int32_t y, std::string_view text,
                     const Font* font, ColorRef color, bool transparent, Rect* written = nullptr);

}  // namespace grazefall::platform::software
