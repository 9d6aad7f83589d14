// Which of SDL's video drivers the saver opens when the user names none in
// SDL_VIDEODRIVER: X11 wherever an X server answers (and always for what
// draws into X windows), Wayland's where only a Wayland compositor is there.
#pragma once

#include <string_view>

#include "host/linux/hack_options.h"

namespace grazefall::app {

struct DisplayEnvironment {
  // WAYLAND_DISPLAY is set.
  bool waylandDisplay = false;
  // The X server DISPLAY names answers.
  bool xServerAnswers = false;
};

// What in `command` draws into an existing X window, for a person to read;
// empty when nothing does.
std::string_view XOnlyFeature(const host::LinuxCommand& command);

// The driver to ask SDL for. `needsX`: the command draws into an existing X window.
std::string_view ChooseVideoDriver(const DisplayEnvironment& environment, bool needsX);

}  // namespace grazefall::app
