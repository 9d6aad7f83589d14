// Gives a headless wlroots compositor (sway) a pointer device and keeps it
// until the tool is ended: with no pointer in the seat, windows get no
// pointer events at all, and moving the seat's cursor reaches nobody.
// Prints "ready" once the device exists.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

namespace {

// The two requests of wlr-virtual-pointer-unstable-v1 used here, declared by
// hand (the protocol's XML is not in a Debian package).
extern const wl_interface kVirtualPointer;
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kVirtualPointer};
const wl_message kManagerRequests[] = {{"create_virtual_pointer", "?on", kCreateTypes}};
const wl_interface kVirtualPointerManager = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, kManagerRequests, 0, nullptr};
const wl_interface kVirtualPointer = {"zwlr_virtual_pointer_v1", 1, 0, nullptr, 0, nullptr};

struct Found {
  wl_seat* seat = nullptr;
  wl_proxy* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  auto* found = static_cast<Found*>(data);
  if (std::strcmp(interface, "wl_seat") == 0 && found->seat == nullptr) {
    found->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (std::strcmp(interface, kVirtualPointerManager.name) == 0) {
    found->manager =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kVirtualPointerManager, 1));
  }
}

void OnGlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kListener{OnGlobal, OnGlobalRemoved};

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "virtual_pointer_tool: no Wayland compositor answers\n");
    return 1;
  }
  Found found;
  wl_registry_add_listener(wl_display_get_registry(display), &kListener, &found);
  wl_display_roundtrip(display);
  if (found.seat == nullptr || found.manager == nullptr) {
    std::fprintf(stderr, "virtual_pointer_tool: the compositor offers no virtual pointers\n");
    return 1;
  }
  wl_proxy_marshal_constructor(found.manager, 0, &kVirtualPointer, found.seat, nullptr);
  if (wl_display_roundtrip(display) < 0) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  while (wl_display_dispatch(display) != -1) {
  }
  return 0;
}
