#include "platform/sdl/sdl_window_system.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/messages.h"
#include "platform/sdl/wayland_globals.h"

namespace grazefall::platform::sdl {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

// The longest sleep while no window of ours is shown; SIGTERM ends it early.
constexpr int kHiddenWaitMs = 1000;

// What findWindow answers for a saver that another process shows where no
// window of another process can be looked up: above every X id, below ours.
constexpr WindowHandle kSaverOfAnotherProcess = (WindowHandle{1} << 40) - 1;

// X errors on windows that another program destroyed under us (BadWindow,
// BadDrawable) are expected; the liveness check ends the saver window.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

bool XWindowAlive(Display* display, uint64_t window) {
  if (display == nullptr || window == 0 || window > 0xFFFFFFFFu) return false;
  XWindowAttributes attributes;
  return XGetWindowAttributes(display, static_cast<::Window>(window), &attributes) != 0;
}

// A black child window covering `bounds` of `parent`, shown; 0 when it
// cannot be made. Synced, so SDL's own connection finds it at once.
uint64_t CreatePreviewChild(Display* display, uint64_t parent, const Rect& bounds) {
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
  return XWindowAlive(display, child) ? child : 0;
}

// Destroys a preview child made by CreatePreviewChild, if it still exists
// (the X server has already destroyed it when its parent went).
void DestroyPreviewChild(Display* display, uint64_t child) {
  if (display == nullptr || child == 0 || !XWindowAlive(display, child)) return;
  XDestroyWindow(display, static_cast<::Window>(child));
  XFlush(display);
}

// Whether process `pid` is still running: it exists and has not yet ended
// (an ended process waiting for its parent to collect it counts as ended).
bool ProcessRunning(long pid) {
  if (pid <= 0) return false;
  if (kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;  // no /proc: trust kill()
  const size_t nameEnd = line.rfind(')');
  return nameEnd == std::string::npos || nameEnd + 2 >= line.size() || line[nameEnd + 2] != 'Z';
}

// A window left behind by a program that has already ended: the X server
// destroys it once it notices the closed connection, which may be a moment
// after the program is gone. Windows that do not name their process count as
// live.
bool OwnerHasEnded(Display* display, ::Window window) {
  const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
  if (pidAtom == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                         &remaining, &data) != Success) {
    return false;
  }
  long pid = 0;
  const bool named = data != nullptr && type == XA_CARDINAL && format == 32 && count == 1;
  if (named) pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
  if (data != nullptr) XFree(data);
  return named && !ProcessRunning(pid);
}

bool SdlWindowX11(SDL_Window* window, Display** display, ::Window* xWindow) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  *display = info.info.x11.display;
  *xWindow = info.info.x11.window;
  return true;
}

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

intptr_t PackPosition(int32_t x, int32_t y) {
  return static_cast<intptr_t>((static_cast<uint32_t>(x) & 0xFFFFu) |
                               ((static_cast<uint32_t>(y) & 0xFFFFu) << 16));
}

uint32_t ButtonMessage(uint8_t button) {
  if (button == SDL_BUTTON_RIGHT) return kWmRButtonDown;
  if (button == SDL_BUTTON_MIDDLE) return kWmMButtonDown;
  return kWmLButtonDown;
}

}  // namespace

void SdlWindowSystem::RequestStop() {
  stopRequested = 1;
}

bool SdlWindowSystem::StopRequested() {
  return stopRequested != 0;
}

SdlWindowSystem::SdlWindowSystem() = default;

SdlWindowSystem::~SdlWindowSystem() {
  waylandPresentation_.reset();
  for (auto& [handle, window] : windows_) {
    window.presenter.reset();
    if (window.sdl != nullptr) SDL_DestroyWindow(window.sdl);
  }
  if (xDisplay_ != nullptr) XCloseDisplay(static_cast<Display*>(xDisplay_));
  if (open_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindowSystem::open(std::string* error, std::string_view driver) {
  if (open_) return true;
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
      return false;
    }
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (error != nullptr) *error = SDL_GetError();
    return false;
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
    return false;
  }
  open_ = true;
  sleepWatch_.open();
  wayland_ = current != nullptr && std::strcmp(current, "wayland") == 0;
  if (!wayland_) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (current != nullptr && std::strcmp(current, "x11") == 0) {
    XSetErrorHandler(IgnoreXError);
    xDisplay_ = XOpenDisplay(nullptr);
  }
  if (xDisplay_ == nullptr) {
    instanceLock_.emplace(
        SaverLockPath(std::getenv("XDG_RUNTIME_DIR"), std::getenv("WAYLAND_DISPLAY")));
  }
  return true;
}

uint64_t SdlWindowSystem::rootWindow() {
  if (xDisplay_ == nullptr) return 0;
  return DefaultRootWindow(static_cast<Display*>(xDisplay_));
}

SdlWindowSystem::Window* SdlWindowSystem::find(WindowHandle window) {
  auto it = windows_.find(window);
  if (it == windows_.end() || it->second.sdl == nullptr) return nullptr;
  return &it->second;
}

SDL_Window* SdlWindowSystem::sdlWindowOf(WindowHandle window) {
  Window* record = find(window);
  return record != nullptr ? record->sdl : nullptr;
}

SdlWindowSystem::Window* SdlWindowSystem::findBySdlId(uint32_t id, WindowHandle* handle) {
  Window* fallback = nullptr;
  for (auto& [h, window] : windows_) {
    if (window.sdl == nullptr) continue;
    const bool mirrorHasIt = std::any_of(window.mirrors.begin(), window.mirrors.end(),
                                         [id](const Mirror& mirror) { return mirror.sdlId == id; });
    if (window.sdlId == id || mirrorHasIt) {
      *handle = h;
      return &window;
    }
    // Keyboard events without a focus window go to the saver window.
    if (fallback == nullptr) {
      fallback = &window;
      *handle = h;
    }
  }
  return fallback;
}

bool SdlWindowSystem::registerClass(std::string_view className, WindowProc procedure) {
  if (!open_ || procedure == nullptr) return false;
  classes_[std::string(className)] = procedure;
  return true;
}

void SdlWindowSystem::selectStructureEvents(Window& window) {
  // SDL asks nothing of a window it did not create; without StructureNotify
  // it would never hear of a resize.
  Display* display = nullptr;
  ::Window xWindow = 0;
  if (!SdlWindowX11(window.sdl, &display, &xWindow)) return;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, xWindow, &attributes) == 0) return;
  XSelectInput(display, xWindow, attributes.your_event_mask | StructureNotifyMask | ExposureMask);
  XFlush(display);
}

WindowHandle SdlWindowSystem::createWindow(const WindowSpec& spec) {
  auto cls = classes_.find(spec.className);
  if (!open_ || cls == classes_.end()) return 0;
  Window window;
  window.className = std::string(spec.className);
  window.title = std::string(spec.title);
  window.procedure = cls->second;

  uint64_t foreign = 0;
  if (spec.kind == WindowKind::Preview) {
    // A child of its own inside the parent: the parent's drawing is clipped
    // by it, so a parent that repaints never wipes the preview, and the X
    // server takes the child away with the parent.
    auto* display = static_cast<Display*>(xDisplay_);
    if (!XWindowAlive(display, spec.parent)) return 0;
    window.previewChild = CreatePreviewChild(display, spec.parent, spec.bounds);
    if (window.previewChild == 0) return 0;
    foreign = window.previewChild;
    window.parent = spec.parent;
  } else if (targetWindow_ != 0) {
    foreign = targetWindow_;
  }
  if (foreign != 0) {
    if (!XWindowAlive(static_cast<Display*>(xDisplay_), foreign)) return 0;
    window.sdl =
        SDL_CreateWindowFrom(reinterpret_cast<const void*>(static_cast<uintptr_t>(foreign)));
    window.foreign = foreign;
    window.input = InputPolicy::Ignored;
  } else if (wayland_ && spec.kind == WindowKind::FullScreen && !ordinaryWindow_) {
    // A client cannot place a window over the screen there: the compositor
    // is asked for full screen instead, on every output.
    if (!createOutputWindows(window)) {
      std::fprintf(stderr, "grazefall: no window could be made: %s\n", SDL_GetError());
      return 0;
    }
  } else if (ordinaryWindow_) {
    window.title = "Grazefall";
    window.sdl = SDL_CreateWindow(window.title.c_str(), SDL_WINDOWPOS_CENTERED,
                                  SDL_WINDOWPOS_CENTERED, 800, 600, SDL_WINDOW_RESIZABLE);
    window.input = InputPolicy::Ignored;
  } else {
    // A borderless window placed over the screen rectangle: with or without
    // a window manager it lands where it should, and no mode is switched.
    window.sdl = SDL_CreateWindow(
        window.title.c_str(), spec.bounds.left, spec.bounds.top, std::max(1, spec.bounds.width()),
        std::max(1, spec.bounds.height()), SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP);
  }
  if (window.sdl == nullptr) {
    std::fprintf(stderr, "grazefall: no window could be made: %s\n", SDL_GetError());
    DestroyPreviewChild(static_cast<Display*>(xDisplay_), window.previewChild);
    return 0;
  }
  window.sdlId = SDL_GetWindowID(window.sdl);
  window.lastPointer = pointerPosition();

  const WindowHandle handle = nextHandle_++;
  Window& stored = windows_[handle] = std::move(window);
  if (spec.kind == WindowKind::FullScreen && instanceLock_) instanceLock_->acquire();
  if (foreign != 0) {
    selectStructureEvents(stored);
  } else {
    Display* display = nullptr;
    ::Window xWindow = 0;
    if (SdlWindowX11(stored.sdl, &display, &xWindow)) {
      XClassHint hint;
      std::string name = "grazefall";
      hint.res_name = name.data();
      hint.res_class = stored.className.data();
      XSetClassHint(display, xWindow, &hint);
      XFlush(display);
    }
  }
  deliver(handle, kWmCreate, 0, 0);
  return find(handle) != nullptr ? handle : 0;
}

WindowHandle SdlWindowSystem::findWindow(std::string_view className, std::string_view title) {
  for (const auto& [handle, window] : windows_) {
    if (window.sdl != nullptr && window.className == className && window.title == title) {
      return handle;
    }
  }
  auto* display = static_cast<Display*>(xDisplay_);
  if (display == nullptr) {
    const bool elsewhere = instanceLock_ && instanceLock_->heldElsewhere();
    return elsewhere ? kSaverOfAnotherProcess : 0;
  }
  // Top-level windows, and their children in case a window manager has
  // framed them.
  std::vector<::Window> pending{DefaultRootWindow(display)};
  for (int depth = 0; depth < 2; ++depth) {
    std::vector<::Window> next;
    for (::Window parent : pending) {
      ::Window root = 0;
      ::Window parentOfParent = 0;
      ::Window* children = nullptr;
      unsigned int count = 0;
      if (XQueryTree(display, parent, &root, &parentOfParent, &children, &count) == 0) continue;
      for (unsigned int i = 0; i < count; ++i) {
        next.push_back(children[i]);
        XClassHint hint{};
        bool classMatches = false;
        if (XGetClassHint(display, children[i], &hint) != 0) {
          classMatches = hint.res_class != nullptr && className == hint.res_class;
          if (hint.res_name != nullptr) XFree(hint.res_name);
          if (hint.res_class != nullptr) XFree(hint.res_class);
        }
        if (!classMatches) continue;
        char* name = nullptr;
        bool titleMatches = false;
        if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
          titleMatches = title == name;
          XFree(name);
        }
        if (titleMatches && !OwnerHasEnded(display, children[i])) {
          const WindowHandle found = children[i];
          if (children != nullptr) XFree(children);
          return found;
        }
      }
      if (children != nullptr) XFree(children);
    }
    pending = std::move(next);
  }
  return 0;
}

bool SdlWindowSystem::isWindow(WindowHandle window) {
  if (find(window) != nullptr) return true;
  if (windows_.count(window) != 0) return false;  // one of ours, gone
  if (window == kSaverOfAnotherProcess) return instanceLock_ && instanceLock_->heldElsewhere();
  return XWindowAlive(static_cast<Display*>(xDisplay_), window);
}

void SdlWindowSystem::setForegroundWindow(WindowHandle window) {
  if (Window* own = find(window)) {
    SDL_RaiseWindow(own->sdl);
    return;
  }
  auto* display = static_cast<Display*>(xDisplay_);
  if (display == nullptr || !XWindowAlive(display, window)) return;
  XRaiseWindow(display, static_cast<::Window>(window));
  XFlush(display);
}

WindowHandle SdlWindowSystem::parentOf(WindowHandle window) {
  const Window* record = find(window);
  return record != nullptr ? record->parent : 0;
}

bool SdlWindowSystem::postMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam) {
  if (find(window) == nullptr) {
    // Another program's window: nothing to deliver to on this side.
    return false;
  }
  queue_.post(Message{window, message, wParam, lParam});
  return true;
}

MessageResult SdlWindowSystem::sendMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                                           intptr_t lParam) {
  return deliver(window, message, wParam, lParam);
}

void SdlWindowSystem::postQuitMessage(int32_t exitCode) {
  queue_.postQuit(exitCode);
}

MessageResult SdlWindowSystem::deliver(WindowHandle window, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam) {
  Window* record = find(window);
  if (record == nullptr || record->procedure == nullptr) return 0;
  return record->procedure(window, message, wParam, lParam);
}

MessageResult SdlWindowSystem::dispatchMessage(const Message& message) {
  return deliver(message.window, message.message, message.wParam, message.lParam);
}

int32_t SdlWindowSystem::removeTimerMessages(WindowHandle window, int32_t limit) {
  return queue_.removeTimerMessages(window, limit);
}

void SdlWindowSystem::destroy(WindowHandle handle) {
  Window* window = find(handle);
  if (window == nullptr) return;
  deliver(handle, kWmDestroy, 0, 0);
  window = find(handle);
  if (window == nullptr) return;
  window->presenter->invalidate();
  for (Mirror& mirror : window->mirrors) {
    mirror.presenter.reset();
    if (waylandPresentation_) waylandPresentation_->release(mirror.sdl);
    SDL_DestroyWindow(mirror.sdl);
  }
  window->mirrors.clear();
  if (window->foreign == 0 && instanceLock_) instanceLock_->release();
  // A window SDL did not create is only let go of, never destroyed; the
  // preview's own child goes too.
  if (waylandPresentation_) waylandPresentation_->release(window->sdl);
  SDL_DestroyWindow(window->sdl);
  DestroyPreviewChild(static_cast<Display*>(xDisplay_), window->previewChild);
  window->previewChild = 0;
  window->sdl = nullptr;
  queue_.dropWindow(handle);
}

MessageResult SdlWindowSystem::defaultWindowProc(WindowHandle window, uint32_t message, uintptr_t,
                                                 intptr_t) {
  if (message == kWmClose) destroy(window);
  return 0;
}

void SdlWindowSystem::translateEvents() {
  if (sleepWatch_.sleepAnnounced()) {
    for (auto& [h, w] : windows_) {
      if (w.sdl != nullptr && w.input == InputPolicy::Closing) {
        postMessage(h, kWmPowerBroadcast, kPbtApmSuspend, 0);
      }
    }
  }
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    WindowHandle handle = 0;
    Window* window = nullptr;
    switch (event.type) {
      case SDL_QUIT:
        for (auto& [h, w] : windows_) {
          if (w.sdl != nullptr) postMessage(h, kWmClose, 0, 0);
        }
        break;
      case SDL_APP_WILLENTERBACKGROUND:
      case SDL_APP_TERMINATING:
        for (auto& [h, w] : windows_) {
          if (w.sdl != nullptr && w.input == InputPolicy::Closing) {
            postMessage(h, kWmPowerBroadcast, kPbtApmSuspend, 0);
          }
        }
        break;
      case SDL_WINDOWEVENT:
        window = findBySdlId(event.window.windowID, &handle);
        if (window == nullptr) break;
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            postMessage(handle, kWmClose, 0, 0);
            break;
          case SDL_WINDOWEVENT_FOCUS_GAINED:
            window->focused = true;
            break;
          case SDL_WINDOWEVENT_FOCUS_LOST:
            // Only a focus the window really had can be lost to another
            // application; on another output's window it is still ours.
            if (window->focused && window->input == InputPolicy::Closing &&
                !hasKeyboardFocus(*window)) {
              postMessage(handle, kWmActivateApp, 0, 0);
            }
            window->focused = false;
            break;
          case SDL_WINDOWEVENT_ENTER:
          case SDL_WINDOWEVENT_LEAVE:
            relativePointer_.enter();
            break;
          case SDL_WINDOWEVENT_EXPOSED:
            invalidateAll(*window);
            postMessage(handle, kWmPaint, 0, 0);
            break;
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            invalidateAll(*window);
            postMessage(handle, kWmSize, 0, PackPosition(event.window.data1, event.window.data2));
            break;
          default:
            break;
        }
        break;
      case SDL_KEYDOWN:
        window = findBySdlId(event.key.windowID, &handle);
        if (window != nullptr && window->input == InputPolicy::Closing) {
          const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
          postMessage(handle, alt ? kWmSysKeyDown : kWmKeyDown,
                      static_cast<uintptr_t>(event.key.keysym.sym), 0);
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
        window = findBySdlId(event.button.windowID, &handle);
        if (window != nullptr && window->input == InputPolicy::Closing) {
          postMessage(handle, ButtonMessage(event.button.button), 0,
                      PackPosition(event.button.x, event.button.y));
        }
        break;
      case SDL_MOUSEMOTION:
        window = findBySdlId(event.motion.windowID, &handle);
        if (window != nullptr && window->input == InputPolicy::Closing) {
          // SDL reports the pointer entering the new window as motion; only
          // a pointer that really moved makes a mouse-move message.
          if (wayland_) {
            if (!relativePointer_.moveTo(event.motion.windowID, event.motion.x, event.motion.y)) {
              break;
            }
            postMessage(handle, kWmMouseMove, 0, PackPosition(event.motion.x, event.motion.y));
            break;
          }
          const Point now = pointerPosition();
          if (now == window->lastPointer) break;
          window->lastPointer = now;
          postMessage(handle, kWmMouseMove, 0, PackPosition(event.motion.x, event.motion.y));
        }
        break;
      default:
        break;
    }
  }
}

void SdlWindowSystem::checkForeignWindows() {
  auto* display = static_cast<Display*>(xDisplay_);
  if (display == nullptr) return;
  const uint32_t now = SDL_GetTicks();
  if (now - lastForeignCheck_ < 20) return;
  lastForeignCheck_ = now;
  std::vector<WindowHandle> gone;
  for (auto& [handle, window] : windows_) {
    if (window.sdl != nullptr && window.foreign != 0 && !XWindowAlive(display, window.foreign)) {
      gone.push_back(handle);
    }
  }
  for (WindowHandle handle : gone) destroy(handle);
}

bool SdlWindowSystem::getMessage(Message* message) {
  for (;;) {
    if (stopRequested != 0 && !stopHandled_) {
      stopHandled_ = true;
      for (auto& [handle, window] : windows_) {
        if (window.sdl != nullptr) queue_.postFirst(Message{handle, kWmClose, 0, 0});
      }
    }
    translateEvents();
    checkForeignWindows();
    if (queue_.takePosted(message)) return true;
    const bool anyWindow = std::any_of(windows_.begin(), windows_.end(), [](const auto& entry) {
      return entry.second.sdl != nullptr;
    });
    if (queue_.quitPending() || !anyWindow) {
      *message = queue_.takeQuit();
      return false;
    }
    // No tick while the compositor shows none of our windows: asleep until
    // it asks for a picture again or input comes.
    if (waylandPresentation_ && waylandPresentation_->hidden(SDL_GetTicks())) {
      waylandPresentation_->wait(kHiddenWaitMs);
      continue;
    }
    // Ticks only when no other message waits.
    queue_.tickDueTimers(SDL_GetTicks());
    if (queue_.takeTimer(message)) return true;
    waitForEvents(queue_.msUntilNextTick(SDL_GetTicks()));
  }
}

int SdlWindowSystem::eventSocket() {
  for (auto& [handle, window] : windows_) {
    Display* display = nullptr;
    ::Window xWindow = 0;
    if (window.sdl != nullptr && SdlWindowX11(window.sdl, &display, &xWindow)) {
      return ConnectionNumber(display);
    }
  }
  return -1;
}

void SdlWindowSystem::waitForEvents(std::optional<uint32_t> untilTick) {
  // Other windows' liveness and the sleep announcement are looked at this
  // often at least, whatever the timer.
  constexpr uint32_t kLongestWaitMs = 10;
  const uint32_t waitMs = std::min(untilTick.value_or(kLongestWaitMs), kLongestWaitMs);
  if (waitMs == 0) return;
  const int socket = eventSocket();
  if (socket < 0) {
    // No X connection to watch: SDL waits for its compositor's events
    // (Wayland), or SDL's stub drivers take short naps.
    if (wayland_) {
      SDL_WaitEventTimeout(nullptr, static_cast<int>(waitMs));
    } else {
      SDL_Delay(1);
    }
    return;
  }
  // Asleep until the X server has something for SDL or the tick is due;
  // SDL's own waiting never wakes for a window it did not create. A signal
  // (SIGTERM) ends the wait early.
  pollfd watched{socket, POLLIN, 0};
  poll(&watched, 1, static_cast<int>(waitMs));
}

uint32_t SdlWindowSystem::setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) {
  if (find(window) == nullptr) return 0;
  queue_.startTimer(window, timerId, std::max<uint32_t>(1, periodMs), SDL_GetTicks());
  return timerId;
}

void SdlWindowSystem::killTimer(WindowHandle window, uint32_t) {
  queue_.stopTimer(window);
}

Point SdlWindowSystem::pointerPosition() {
  // SDL's global mouse state is cached between raw-input events; ask X.
  if (auto* display = static_cast<Display*>(xDisplay_)) {
    ::Window root = 0;
    ::Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int mask = 0;
    if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX,
                      &windowY, &mask) != 0) {
      return Point{rootX, rootY};
    }
  }
  // Wayland tells no client where the pointer is outside its windows.
  if (wayland_) return relativePointer_.position();
  int x = 0;
  int y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return Point{x, y};
}

Rect SdlWindowSystem::virtualScreen() {
  Rect screen{};
  const int count = open_ ? SDL_GetNumVideoDisplays() : 0;
  for (int i = 0; i < count; ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
    const Rect r{bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
    if (screen.width() <= 0 || screen.height() <= 0) {
      screen = r;
    } else {
      screen = Rect{std::min(screen.left, r.left), std::min(screen.top, r.top),
                    std::max(screen.right, r.right), std::max(screen.bottom, r.bottom)};
    }
  }
  return screen;
}

bool SdlWindowSystem::clientSize(WindowHandle window, int32_t* width, int32_t* height) {
  if (Window* own = find(window)) {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(own->sdl, &w, &h);
    *width = w;
    *height = h;
    return true;
  }
  auto* display = static_cast<Display*>(xDisplay_);
  if (display == nullptr || window == 0 || window > 0xFFFFFFFFu) return false;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, static_cast<::Window>(window), &attributes) == 0) {
    return false;
  }
  *width = attributes.width;
  *height = attributes.height;
  return true;
}

int32_t SdlWindowSystem::presentFrame(WindowHandle handle, SDL_Surface* frame,
                                      const std::optional<std::vector<Rect>>& changes) {
  Window* window = find(handle);
  if (window == nullptr) return kEFail;
  const int32_t shown = presentIn(window->sdl, *window->presenter, frame, changes);
  // Another output's copy that fails to show costs that output a frame,
  // not the saver its display.
  for (Mirror& mirror : window->mirrors) presentIn(mirror.sdl, *mirror.presenter, frame, changes);
  return shown;
}

int32_t SdlWindowSystem::presentIn(SDL_Window* sdl, FramePresenter& presenter, SDL_Surface* frame,
                                   const std::optional<std::vector<Rect>>& changes) {
  WaylandSurfacePresenter* own =
      waylandPresentation_ ? waylandPresentation_->presenterOf(sdl) : nullptr;
  return own != nullptr ? own->present(frame, changes) : presenter.present(sdl, frame, changes);
}

bool SdlWindowSystem::createOutputWindows(Window& window) {
  const int outputs = std::max(1, SDL_GetNumVideoDisplays());
  for (int i = 0; i < outputs; ++i) {
    SDL_Rect bounds{0, 0, 640, 480};
    SDL_GetDisplayBounds(i, &bounds);
    SDL_Window* made = SDL_CreateWindow(
        window.title.c_str(), SDL_WINDOWPOS_UNDEFINED_DISPLAY(i),
        SDL_WINDOWPOS_UNDEFINED_DISPLAY(i), std::max(1, bounds.w), std::max(1, bounds.h),
        SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI);
    if (made == nullptr) continue;
    AdoptForPresentation(&waylandPresentation_, &waylandRefusalSaid_, made);
    if (window.sdl == nullptr) {
      window.sdl = made;
    } else {
      Mirror mirror;
      mirror.sdl = made;
      mirror.sdlId = SDL_GetWindowID(made);
      window.mirrors.push_back(std::move(mirror));
    }
  }
  return window.sdl != nullptr;
}

void SdlWindowSystem::invalidateAll(Window& window) {
  window.presenter->invalidate();
  for (Mirror& mirror : window.mirrors) mirror.presenter->invalidate();
}

bool SdlWindowSystem::hasKeyboardFocus(const Window& window) const {
  // A Wayland compositor may take the focus away and give it back at once
  // (sway does so when it configures an output): by the time the loss is
  // read the window may have it again.
  if (window.mirrors.empty() && !wayland_) return false;
  const SDL_Window* focus = SDL_GetKeyboardFocus();
  if (focus == nullptr) return false;
  if (focus == window.sdl) return true;
  return std::any_of(window.mirrors.begin(), window.mirrors.end(),
                     [focus](const Mirror& mirror) { return mirror.sdl == focus; });
}

bool SdlWindowSystem::paintPicture(WindowHandle handle, const Picture& picture, int32_t x,
                                   int32_t y) {
  Window* window = find(handle);
  if (window == nullptr || picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() < static_cast<size_t>(picture.width) * picture.height) {
    return false;
  }
  SDL_Surface* target = SDL_GetWindowSurface(window->sdl);
  if (target == nullptr) return false;
  // ColorRef is 0x00BBGGRR: red in the low byte.
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<ColorRef*>(picture.pixels.data()), picture.width, picture.height, 32,
      picture.width * 4, SDL_PIXELFORMAT_BGR888);
  if (source == nullptr) return false;
  window->presenter->invalidate();
  SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
  SDL_Rect at{x, y, picture.width, picture.height};
  SDL_BlitSurface(source, nullptr, target, &at);
  SDL_FreeSurface(source);
  return SDL_UpdateWindowSurface(window->sdl) == 0;
}

}  // namespace grazefall::platform::sdl
