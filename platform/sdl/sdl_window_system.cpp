#include "platform/sdl/sdl_window_system.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/messages.h"
#include "platform/sdl/foreign_windows.h"

namespace grazefall::platform::sdl {
namespace {

// What findWindow answers for a saver that another process shows where no
// window of another process can be looked up: above every X id, below ours.
constexpr WindowHandle kSaverOfAnotherProcess = (WindowHandle{1} << 40) - 1;

}  // namespace

SdlWindowSystem::SdlWindowSystem() = default;

SdlWindowSystem::~SdlWindowSystem() {
  for (auto& [handle, window] : windows_.all()) window.extra.outputs.close();
  waylandPresentation_.reset();
  if (driver_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindowSystem::open(std::string* error, std::string_view driver) {
  if (driver_) return true;
  driver_ = OpenVideoDriver(driver, error);
  if (!driver_) return false;
  sleepWatch_.open();
  if (driver_ == VideoDriver::X11) x_.open();
  if (!x_.isOpen()) {
    instanceLock_.emplace(
        SaverLockPath(std::getenv("XDG_RUNTIME_DIR"), std::getenv("WAYLAND_DISPLAY")));
  }
  return true;
}

SdlWindowSystem::Window* SdlWindowSystem::find(WindowHandle window) {
  Windows::Window* record = windows_.find(window);
  return record != nullptr ? &record->extra : nullptr;
}

SDL_Window* SdlWindowSystem::sdlWindowOf(WindowHandle window) {
  const Window* record = find(window);
  return record != nullptr ? record->outputs.first() : nullptr;
}

WindowHandle SdlWindowSystem::findBySdlId(uint32_t id) {
  WindowHandle fallback = 0;
  for (const auto& [handle, window] : windows_.all()) {
    if (!window.alive) continue;
    if (window.extra.outputs.has(id)) return handle;
    if (fallback == 0) fallback = handle;
  }
  return fallback;
}

bool SdlWindowSystem::registerClass(std::string_view className, WindowProc procedure) {
  return driver_ && windows_.registerClass(className, procedure);
}

bool SdlWindowSystem::openWindows(const WindowSpec& spec, Window* window, std::string* title) {
  uint64_t foreign = 0;
  if (spec.kind == WindowKind::Preview) {
    // A child of its own inside the parent: the parent's drawing is clipped
    // by it, so a parent that repaints never wipes the preview, and the X
    // server takes the child away with the parent.
    if (!x_.windowAlive(spec.parent)) return false;
    window->previewChild = CreatePreviewChild(x_, spec.parent, spec.bounds);
    if (window->previewChild == 0) return false;
    foreign = window->previewChild;
  } else if (targetWindow_ != 0) {
    foreign = targetWindow_;
  }
  if (foreign != 0) {
    if (!x_.windowAlive(foreign)) return false;
    window->outputs = OutputWindows(OpenForeignWindow(foreign));
    window->foreign = foreign;
    window->input = InputPolicy::Ignored;
  } else if (onWayland() && spec.kind == WindowKind::FullScreen && !ordinaryWindow_) {
    // A client cannot place a window over the screen there: the compositor
    // is asked for full screen instead, on every output.
    window->outputs.openOnEveryOutput(*title, OutputWindows::Cover::FullScreen);
    window->outputs.forEach([this](SDL_Window* made) {
      AdoptForPresentation(&waylandPresentation_, &waylandRefusalSaid_, made);
    });
    window->outputs.showThrough(waylandPresentation_.get());
  } else if (ordinaryWindow_) {
    *title = "Grazefall";
    window->outputs =
        OutputWindows(SDL_CreateWindow(title->c_str(), SDL_WINDOWPOS_CENTERED,
                                       SDL_WINDOWPOS_CENTERED, 800, 600, SDL_WINDOW_RESIZABLE));
    window->input = InputPolicy::Ignored;
  } else if (spec.kind == WindowKind::FullScreen && SDL_GetNumVideoDisplays() > 1) {
    // One window on each monitor, each showing the whole frame: one window
    // across them all would centre the frame on the seam between two.
    window->outputs.openOnEveryOutput(*title, OutputWindows::Cover::Placed);
  } else {
    // A borderless window placed over the screen rectangle: with or without
    // a window manager it lands where it should, and no mode is switched.
    window->outputs = OutputWindows(SDL_CreateWindow(
        title->c_str(), spec.bounds.left, spec.bounds.top, std::max(1, spec.bounds.width()),
        std::max(1, spec.bounds.height()), SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP));
  }
  if (window->outputs.empty()) {
    std::fprintf(stderr, "grazefall: no window could be made: %s\n", SDL_GetError());
    return false;
  }
  return true;
}

WindowHandle SdlWindowSystem::createWindow(const WindowSpec& spec) {
  const WindowProc procedure = windows_.procedureOf(spec.className);
  if (!driver_ || procedure == nullptr) return 0;
  Windows::Window window;
  window.className = std::string(spec.className);
  window.title = std::string(spec.title);
  window.procedure = procedure;
  if (spec.kind == WindowKind::Preview) window.parent = spec.parent;
  if (!openWindows(spec, &window.extra, &window.title)) {
    DestroyPreviewChild(x_, window.extra.previewChild);
    return 0;
  }
  window.extra.lastPointer = pointerPosition();
  const bool own = window.extra.foreign == 0;

  const WindowHandle handle = windows_.add(std::move(window));
  Windows::Window& stored = *windows_.find(handle);
  if (spec.kind == WindowKind::FullScreen && instanceLock_) instanceLock_->acquire();
  if (own) stored.extra.outputs.forEach([&](SDL_Window* w) { SetXClass(w, stored.className); });
  windows_.deliver(handle, kWmCreate, 0, 0);
  return find(handle) != nullptr ? handle : 0;
}

WindowHandle SdlWindowSystem::findWindow(std::string_view className, std::string_view title) {
  if (const WindowHandle own = windows_.findByName(className, title)) return own;
  if (!x_.isOpen()) {
    const bool elsewhere = instanceLock_ && instanceLock_->heldElsewhere();
    return elsewhere ? kSaverOfAnotherProcess : 0;
  }
  return x_.findWindow(className, title);
}

bool SdlWindowSystem::isWindow(WindowHandle window) {
  if (find(window) != nullptr) return true;
  if (windows_.madeHere(window)) return false;  // one of ours, gone
  if (window == kSaverOfAnotherProcess) return instanceLock_ && instanceLock_->heldElsewhere();
  return x_.windowAlive(window);
}

void SdlWindowSystem::setForegroundWindow(WindowHandle window) {
  if (Window* own = find(window)) {
    SDL_RaiseWindow(own->outputs.first());
    return;
  }
  x_.raise(window);
}

WindowHandle SdlWindowSystem::parentOf(WindowHandle window) {
  const Windows::Window* record = windows_.find(window);
  return record != nullptr ? record->parent : 0;
}

bool SdlWindowSystem::postMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam) {
  // Another program's window: nothing to deliver to on this side.
  return windows_.post(window, message, wParam, lParam);
}

MessageResult SdlWindowSystem::sendMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                                           intptr_t lParam) {
  return windows_.deliver(window, message, wParam, lParam);
}

void SdlWindowSystem::postQuitMessage(int32_t exitCode) {
  windows_.queue().postQuit(exitCode);
}

MessageResult SdlWindowSystem::dispatchMessage(const Message& message) {
  return windows_.deliver(message.window, message.message, message.wParam, message.lParam);
}

int32_t SdlWindowSystem::removeTimerMessages(WindowHandle window, int32_t limit) {
  return windows_.queue().removeTimerMessages(window, limit);
}

void SdlWindowSystem::destroy(WindowHandle handle) {
  windows_.destroy(handle, [this](Windows::Window& window) {
    if (window.extra.foreign == 0 && instanceLock_) instanceLock_->release();
    // A window SDL did not create is only let go of, never destroyed; the
    // preview's own child goes too.
    window.extra.outputs.close();
    DestroyPreviewChild(x_, window.extra.previewChild);
    window.extra.previewChild = 0;
  });
}

MessageResult SdlWindowSystem::defaultWindowProc(WindowHandle window, uint32_t message, uintptr_t,
                                                 intptr_t) {
  if (message == kWmClose) destroy(window);
  return 0;
}

uint32_t SdlWindowSystem::setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) {
  if (find(window) == nullptr) return 0;
  windows_.queue().startTimer(window, timerId, std::max<uint32_t>(1, periodMs), SDL_GetTicks());
  return timerId;
}

void SdlWindowSystem::killTimer(WindowHandle window, uint32_t) {
  windows_.queue().stopTimer(window);
}

Point SdlWindowSystem::pointerPosition() {
  // SDL's global mouse state is cached between raw-input events; ask X.
  if (const auto atX = x_.pointerPosition()) return *atX;
  // Wayland tells no client where the pointer is outside its windows.
  if (onWayland()) return relativePointer_.position();
  int x = 0;
  int y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return Point{x, y};
}

Rect SdlWindowSystem::virtualScreen() {
  return driver_ ? UnionOfOutputs() : Rect{};
}

bool SdlWindowSystem::clientSize(WindowHandle window, int32_t* width, int32_t* height) {
  if (Window* own = find(window)) {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(own->outputs.first(), &w, &h);
    *width = w;
    *height = h;
    return true;
  }
  return x_.windowSize(window, width, height);
}

int32_t SdlWindowSystem::presentFrame(WindowHandle handle, SDL_Surface* frame,
                                      const std::optional<std::vector<Rect>>& changes,
                                      const X11SharedImage* shared, ShmBuffers* lent) {
  Window* window = find(handle);
  if (window == nullptr) return kEFail;
  return window->outputs.present(frame, changes, shared, lent);
}

std::unique_ptr<ShmBuffers> SdlWindowSystem::lendWaylandBuffer(WindowHandle handle, int32_t width,
                                                               int32_t height) {
  Window* window = find(handle);
  return window != nullptr ? window->outputs.lend(width, height) : nullptr;
}

bool SdlWindowSystem::hasKeyboardFocus(const Window& window) const {
  // A Wayland compositor may take the focus away and give it back at once
  // (sway does so when it configures an output): by the time the loss is
  // read the window may have it again.
  if (window.outputs.size() < 2 && !onWayland()) return false;
  // SDL hears of a focus change on X a moment after the server made it, so
  // the server is asked too.
  return window.outputs.holds(SDL_GetKeyboardFocus()) ||
         window.outputs.holdsXWindow(x_.inputFocus());
}

bool SdlWindowSystem::paintPicture(WindowHandle handle, const Picture& picture, int32_t x,
                                   int32_t y) {
  Window* window = find(handle);
  return window != nullptr && window->outputs.paint(picture, x, y);
}

}  // namespace grazefall::platform::sdl
