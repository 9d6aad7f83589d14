#include "platform/sdl/video_driver.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/sdl/wayland_globals.h"

namespace grazefall::platform::sdl {
namespace {

// Whether SDL may start its Wayland driver given the list of drivers to try
// ("x11", "wayland,x11"; empty: every driver, Wayland's among them).
bool MayTryWayland(std::string_view drivers) {
  if (drivers.empty()) return true;
  while (!drivers.empty()) {
    const size_t comma = drivers.find(',');
    if (drivers.substr(0, comma) == "wayland") return true;
    if (comma == std::string_view::npos) break;
    drivers.remove_prefix(comma + 1);
  }
  return false;
}

}  // namespace

std::optional<VideoDriver> OpenVideoDriver(std::string_view driver, std::string* error) {
  // A running saver must not keep the system's own screen saver away, and a
  // frame is scaled pixel for pixel.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Frames go to the window surface as X images (shared memory where the
  // server offers it), rectangle by rectangle; SDL's default would put a GL
  // texture behind the surface and redraw the whole window for any change,
  // which without a GPU is the costliest way of all.
  // Wayland has no such surfaces: there SDL's texture stands behind the
  // window surface (set below, once the driver is known).
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // The host picks the driver (preview parents, XScreenSaver's windows and
  // the single-instance lookup are X windows), unless the user named one.
  // (An empty SDL_VIDEODRIVER names none: SDL would try every driver.)
  const char* named = std::getenv("SDL_VIDEODRIVER");
  const std::string drivers =
      named != nullptr && *named != '\0' ? std::string(named) : std::string(driver);
  if (drivers != (named != nullptr ? named : "")) {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, drivers.c_str(), SDL_HINT_OVERRIDE);
  }
  if (MayTryWayland(drivers)) {
    // SDL's Wayland driver does not survive some compositors: ask first.
    const auto globals = ListWaylandGlobals();
    const std::string shortcoming =
        globals ? WaylandShortcoming(*globals) : "no Wayland compositor answers (WAYLAND_DISPLAY)";
    if (!shortcoming.empty()) {
      if (error != nullptr) *error = shortcoming;
      return std::nullopt;
    }
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (error != nullptr) *error = SDL_GetError();
    return std::nullopt;
  }
  const char* current = SDL_GetCurrentVideoDriver();
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  const bool stubDriver = current != nullptr && (std::strcmp(current, "offscreen") == 0 ||
                                                 std::strcmp(current, "dummy") == 0);
  if (stubDriver && (asked == nullptr || std::strcmp(asked, current) != 0)) {
    // SDL falls back to drawing nowhere when there is no display; a saver
    // that nobody can see is a failure to report.
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (error != nullptr) *error = "no display found (DISPLAY is not set or not reachable)";
    return std::nullopt;
  }
  const bool wayland = current != nullptr && std::strcmp(current, "wayland") == 0;
  if (!wayland) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (wayland) return VideoDriver::Wayland;
  if (current != nullptr && std::strcmp(current, "x11") == 0) return VideoDriver::X11;
  return VideoDriver::Other;
}

}  // namespace grazefall::platform::sdl
