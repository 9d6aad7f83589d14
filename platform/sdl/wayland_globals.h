// What a Wayland compositor offers, asked without SDL: SDL's Wayland driver
// crashes while starting on a compositor that has no input seat (a headless
// one without devices), so the saver asks first and says why it cannot run.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace grazefall::platform::sdl {

// The interface names of the globals the compositor WAYLAND_DISPLAY names
// offers; nothing when no compositor answers there.
std::optional<std::vector<std::string>> ListWaylandGlobals();

// Why the saver cannot run on a compositor offering `globals`, for a person to
// read; empty when it can.
std::string WaylandShortcoming(const std::vector<std::string>& globals);

}  // namespace grazefall::platform::sdl
