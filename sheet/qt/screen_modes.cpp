#include "sheet/qt/screen_modes.h"

#include <QGuiApplication>
#include <QScreen>

namespace grazefall::qtui {

bool ScreenModes::currentMode(platform::DisplayMode* mode) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return false;
  // The depth Qt reports is at least 8.
  const QSize size = screen->geometry().size() * screen->devicePixelRatio();
  if (size.width() <= 0 || size.height() <= 0) return false;
  *mode = {size.width(), size.height(), screen->depth()};
  return true;
}

bool ScreenModes::listModes(std::vector<platform::DisplayMode>* modes) {
  platform::DisplayMode current;
  if (!currentMode(&current)) return false;
  for (int32_t depth : {8, 16, 24, 32}) modes->push_back({current.width, current.height, depth});
  return true;
}

}  // namespace grazefall::qtui
