// Which of SDL's video drivers the saver runs on, and starting it: the one
// the host asks for unless SDL_VIDEODRIVER names one, never SDL's drawing
// nowhere when no display answers, and a Wayland compositor asked first
// whether SDL's driver will survive it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace grazefall::platform::sdl {

enum class VideoDriver {
  X11,
  Wayland,
  // Another of SDL's drivers, named in SDL_VIDEODRIVER (the tests' dummy).
  Other,
};

// SDL's video subsystem started with `driver` ("x11", "wayland"), or the
// drivers SDL_VIDEODRIVER names when set; nullopt (with the reason in
// `error`) when no display can be opened.
std::optional<VideoDriver> OpenVideoDriver(std::string_view driver, std::string* error);

}  // namespace grazefall::platform::sdl
