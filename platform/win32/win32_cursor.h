// The Windows program's cursor: GetCursorPos, SetCursor (NULL) and the
// system's ShowCursor display count.
#pragma once

#include <cstdint>

#include "platform/cursor.h"

namespace grazefall::platform::win32 {

class Win32Cursor : public Cursor {
 public:
  Point position() override;
  void hideImage() override;
  int32_t show(bool show) override;
};

}  // namespace grazefall::platform::win32
