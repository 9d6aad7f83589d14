// A GDI font made with CreateFontA; the surfaces select it for their text.
#pragma once

#include <windows.h>

#include "platform/font.h"

namespace grazefall::platform::win32 {

class GdiFont : public Font {
 public:
  explicit GdiFont(HFONT handle) : handle_(handle) {}
  ~GdiFont() override {
    if (handle_ != nullptr) DeleteObject(handle_);
  }
  GdiFont(const GdiFont&) = delete;
  GdiFont& operator=(const GdiFont&) = delete;

  HFONT handle() const { return handle_; }

 private:
  HFONT handle_;
};

}  // namespace grazefall::platform::win32
