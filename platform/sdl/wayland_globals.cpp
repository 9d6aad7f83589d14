#include "platform/sdl/wayland_globals.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace grazefall::platform::sdl {
namespace {

struct DisplayCloser {
  void operator()(wl_display* display) const { wl_display_disconnect(display); }
};

struct RegistryDestroyer {
  void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};

void OnGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
  static_cast<std::vector<std::string>*>(data)->emplace_back(interface);
}

void OnGlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemoved};

bool Offers(const std::vector<std::string>& globals, const char* name) {
  return std::find(globals.begin(), globals.end(), name) != globals.end();
}

}  // namespace

std::optional<std::vector<std::string>> ListWaylandGlobals() {
  const std::unique_ptr<wl_display, DisplayCloser> display(wl_display_connect(nullptr));
  if (!display) return std::nullopt;
  const std::unique_ptr<wl_registry, RegistryDestroyer> registry(
      wl_display_get_registry(display.get()));
  if (!registry) return std::nullopt;
  std::vector<std::string> globals;
  wl_registry_add_listener(registry.get(), &kRegistryListener, &globals);
  if (wl_display_roundtrip(display.get()) < 0) return std::nullopt;
  return globals;
}

std::string WaylandShortcoming(const std::vector<std::string>& globals) {
  if (!Offers(globals, "wl_compositor") || !Offers(globals, "wl_shm")) {
    return "the Wayland compositor offers no surfaces to draw on";
  }
  if (!Offers(globals, "xdg_wm_base")) {
    return "the Wayland compositor offers no desktop windows (xdg-shell)";
  }
  if (!Offers(globals, "wl_seat")) {
    return "the Wayland compositor has no input seat (no keyboard or pointer could end the saver)";
  }
  return {};
}

}  // namespace grazefall::platform::sdl
