#include "platform/sdl/wayland_presentation.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace grazefall::platform::sdl {
namespace {

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t version) {
  auto* drawing = static_cast<WaylandDrawing*>(data);
  if (std::strcmp(interface, wl_compositor_interface.name) == 0 && version >= 4 &&
      drawing->compositor == nullptr) {
    // damage_buffer came with version 4.
    drawing->compositor =
        static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 4));
  } else if (std::strcmp(interface, wl_subcompositor_interface.name) == 0 &&
             drawing->subcompositor == nullptr) {
    drawing->subcompositor = static_cast<wl_subcompositor*>(
        wl_registry_bind(registry, name, &wl_subcompositor_interface, 1));
  } else if (std::strcmp(interface, wl_shm_interface.name) == 0 && drawing->shm == nullptr) {
    drawing->shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
  }
}

void OnGlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemoved};

// The held frame a test asks for (GRAZEFALL_HOLD_AFTER=N and
// GRAZEFALL_HELD_FRAME=FILE), if any.
std::optional<HeldFrame> HeldFrameAsked() {
  const char* after = std::getenv("GRAZEFALL_HOLD_AFTER");
  const char* file = std::getenv("GRAZEFALL_HELD_FRAME");
  if (after == nullptr || file == nullptr || *file == '\0') return std::nullopt;
  char* end = nullptr;
  const long long presents = std::strtoll(after, &end, 10);
  if (end == after || *end != '\0' || presents <= 0) return std::nullopt;
  return HeldFrame{presents, file};
}

}  // namespace

std::unique_ptr<WaylandPresentation> WaylandPresentation::Create(SDL_Window* window) {
  const char* wanted = std::getenv("GRAZEFALL_WAYLAND_SHM");
  if (wanted != nullptr && std::strcmp(wanted, "0") == 0) return nullptr;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
      info.subsystem != SDL_SYSWM_WAYLAND || info.info.wl.display == nullptr) {
    return nullptr;
  }
  std::unique_ptr<WaylandPresentation> presentation(new WaylandPresentation());
  WaylandDrawing& drawing = presentation->drawing_;
  drawing.display = info.info.wl.display;
  // Our objects' events go to a queue of our own, handled only here, never
  // by SDL's dispatching.
  drawing.queue = wl_display_create_queue(drawing.display);
  if (drawing.queue == nullptr) return nullptr;
  auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(drawing.display));
  if (wrapper == nullptr) return nullptr;
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), drawing.queue);
  presentation->registry_ = wl_display_get_registry(wrapper);
  wl_proxy_wrapper_destroy(wrapper);
  if (presentation->registry_ == nullptr) return nullptr;
  wl_registry_add_listener(presentation->registry_, &kRegistryListener, &drawing);
  if (wl_display_roundtrip_queue(drawing.display, drawing.queue) < 0) return nullptr;
  if (drawing.compositor == nullptr || drawing.subcompositor == nullptr || drawing.shm == nullptr) {
    return nullptr;
  }
  presentation->held_ = HeldFrameAsked();
  return presentation;
}

WaylandPresentation::~WaylandPresentation() {
  presenters_.clear();
  if (drawing_.shm != nullptr) wl_shm_destroy(drawing_.shm);
  if (drawing_.subcompositor != nullptr) wl_subcompositor_destroy(drawing_.subcompositor);
  if (drawing_.compositor != nullptr) wl_compositor_destroy(drawing_.compositor);
  if (registry_ != nullptr) wl_registry_destroy(registry_);
  if (drawing_.queue != nullptr) {
    wl_display_flush(drawing_.display);
    wl_event_queue_destroy(drawing_.queue);
  }
}

bool WaylandPresentation::adopt(SDL_Window* window) {
  std::optional<HeldFrame> held = held_;
  // Each window's held frame in a file of its own: FILE, FILE.1, FILE.2...
  // Appended piece by piece: GCC 12 at -O3 takes `"." + std::string` for an
  // overlapping copy (a false -Wrestrict).
  if (held && made_ > 0) {
    held->file += '.';
    held->file += std::to_string(made_);
  }
  auto presenter = WaylandSurfacePresenter::Create(drawing_, window, std::move(held));
  if (!presenter) return false;
  ++made_;
  presenters_[window] = std::move(presenter);
  return true;
}

WaylandSurfacePresenter* WaylandPresentation::presenterOf(SDL_Window* window) {
  const auto found = presenters_.find(window);
  return found != presenters_.end() ? found->second.get() : nullptr;
}

void WaylandPresentation::release(SDL_Window* window) {
  presenters_.erase(window);
}

bool WaylandPresentation::hidden(uint32_t nowMs) {
  // A lost compositor sends nothing any more: no waiting for it.
  if (presenters_.empty() || wl_display_get_error(drawing_.display) != 0) return false;
  wl_display_dispatch_queue_pending(drawing_.display, drawing_.queue);
  for (const auto& [window, presenter] : presenters_) {
    if (!presenter->hidden(nowMs)) return false;
  }
  return true;
}

void WaylandPresentation::wait(int timeoutMs) {
  WaitForCompositor(drawing_.display, drawing_.queue, timeoutMs);
}

void AdoptForPresentation(std::unique_ptr<WaylandPresentation>* presentation, bool* refusalSaid,
                          SDL_Window* window) {
  if (!*presentation && !*refusalSaid) *presentation = WaylandPresentation::Create(window);
  if (*presentation && (*presentation)->adopt(window)) return;
  if (!*refusalSaid) {
    std::fputs(
        "grazefall: the compositor's shared-memory buffers cannot be used here; frames go "
        "through SDL's window surface, at a higher cost\n",
        stderr);
  }
  *refusalSaid = true;
}

}  // namespace grazefall::platform::sdl
