#include "platform/win32/win32_cursor.h"

#include <windows.h>

namespace grazefall::platform::win32 {

Point Win32Cursor::position() {
  POINT point{};
  GetCursorPos(&point);
  return Point{point.x, point.y};
}

void Win32Cursor::hideImage() {
  SetCursor(nullptr);
}

int32_t Win32Cursor::show(bool show) {
  return ShowCursor(show ? TRUE : FALSE);
}

}  // namespace grazefall::platform::win32
