#include "platform/sdl/foreign_windows.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <algorithm>

namespace grazefall::platform::sdl {
namespace {

// SDL asks nothing of a window it did not create; without StructureNotify
// it would never hear of a resize.
void SelectStructureEvents(SDL_Window* window) {
  const auto x = XWindowOf(window);
  if (!x) return;
  auto* display = static_cast<Display*>(x->display);
  const auto xWindow = static_cast<::Window>(x->window);
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, xWindow, &attributes) == 0) return;
  XSelectInput(display, xWindow, attributes.your_event_mask | StructureNotifyMask | ExposureMask);
  XFlush(display);
}

}  // namespace

uint64_t CreatePreviewChild(XConnection& x, uint64_t parent, const Rect& bounds) {
  auto* display = static_cast<Display*>(x.display());
  if (display == nullptr || parent == 0 || parent > 0xFFFFFFFFu) return 0;
  const int screen = DefaultScreen(display);
  const ::Window child =
      XCreateSimpleWindow(display, static_cast<::Window>(parent), bounds.left, bounds.top,
                          static_cast<unsigned>(std::max(1, bounds.width())),
                          static_cast<unsigned>(std::max(1, bounds.height())), 0,
                          BlackPixel(display, screen), BlackPixel(display, screen));
  if (child == 0) return 0;
  XMapWindow(display, child);
  XSync(display, False);
  return x.windowAlive(child) ? child : 0;
}

void DestroyPreviewChild(XConnection& x, uint64_t child) {
  auto* display = static_cast<Display*>(x.display());
  if (display == nullptr || child == 0 || !x.windowAlive(child)) return;
  XDestroyWindow(display, static_cast<::Window>(child));
  XFlush(display);
}

SDL_Window* OpenForeignWindow(uint64_t foreign) {
  SDL_Window* window =
      SDL_CreateWindowFrom(reinterpret_cast<const void*>(static_cast<uintptr_t>(foreign)));
  if (window != nullptr) SelectStructureEvents(window);
  return window;
}

}  // namespace grazefall::platform::sdl
