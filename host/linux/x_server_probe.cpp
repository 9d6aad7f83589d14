#include "host/linux/x_server_probe.h"

#include <X11/Xlib.h>

namespace grazefall::app {

std::string XServerProblem() {
  Display* display = XOpenDisplay(nullptr);
  if (display != nullptr) {
    XCloseDisplay(display);
    return {};
  }
  const char* name = XDisplayName(nullptr);
  if (name == nullptr || *name == '\0') return "DISPLAY is not set";
  return std::string("no X server answers at \"") + name + "\"";
}

}  // namespace grazefall::app
