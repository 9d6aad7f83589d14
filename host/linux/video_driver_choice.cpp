#include "host/linux/video_driver_choice.h"

namespace grazefall::app {

std::string_view XOnlyFeature(const host::LinuxCommand& command) {
  if (command.mode == host::LinuxMode::InWindow) {
    return command.window != 0 ? "drawing into another window (-window-id, XSCREENSAVER_WINDOW)"
                               : "drawing on the root window (-root)";
  }
  if (command.mode != host::LinuxMode::Letters) return {};
  const char letter = host::ModeLetter(command.letters);
  if (letter == 'p' || letter == 'l') return "a preview inside another window (/p, /l)";
  return {};
}

std::string_view ChooseVideoDriver(const DisplayEnvironment& environment, bool needsX) {
  if (needsX) return "x11";
  if (environment.waylandDisplay && !environment.xServerAnswers) return "wayland";
  return "x11";
}

}  // namespace grazefall::app
