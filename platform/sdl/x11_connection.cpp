#include "platform/sdl/x11_connection.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

namespace grazefall::platform::sdl {
namespace {

// X errors on windows that another program destroyed under us (BadWindow,
// BadDrawable) are expected; the liveness check ends the saver window.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

Display* AsDisplay(void* display) {
  return static_cast<Display*>(display);
}

bool ValidId(uint64_t window) {
  return window != 0 && window <= 0xFFFFFFFFu;
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

// Whether the window has this class and title.
bool Named(Display* display, ::Window window, std::string_view className, std::string_view title) {
  XClassHint hint{};
  bool classMatches = false;
  if (XGetClassHint(display, window, &hint) != 0) {
    classMatches = hint.res_class != nullptr && className == hint.res_class;
    if (hint.res_name != nullptr) XFree(hint.res_name);
    if (hint.res_class != nullptr) XFree(hint.res_class);
  }
  if (!classMatches) return false;
  char* name = nullptr;
  bool titleMatches = false;
  if (XFetchName(display, window, &name) != 0 && name != nullptr) {
    titleMatches = title == name;
    XFree(name);
  }
  return titleMatches;
}

}  // namespace

XConnection::~XConnection() {
  if (display_ != nullptr) XCloseDisplay(AsDisplay(display_));
}

bool XConnection::open() {
  if (display_ != nullptr) return true;
  XSetErrorHandler(IgnoreXError);
  display_ = XOpenDisplay(nullptr);
  return display_ != nullptr;
}

uint64_t XConnection::rootWindow() const {
  if (display_ == nullptr) return 0;
  return DefaultRootWindow(AsDisplay(display_));
}

bool XConnection::windowAlive(uint64_t window) const {
  if (display_ == nullptr || !ValidId(window)) return false;
  XWindowAttributes attributes;
  return XGetWindowAttributes(AsDisplay(display_), static_cast<::Window>(window), &attributes) != 0;
}

bool XConnection::windowSize(uint64_t window, int32_t* width, int32_t* height) const {
  if (display_ == nullptr || !ValidId(window)) return false;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(AsDisplay(display_), static_cast<::Window>(window), &attributes) == 0) {
    return false;
  }
  *width = attributes.width;
  *height = attributes.height;
  return true;
}

void XConnection::raise(uint64_t window) {
  if (!windowAlive(window)) return;
  XRaiseWindow(AsDisplay(display_), static_cast<::Window>(window));
  XFlush(AsDisplay(display_));
}

std::optional<Point> XConnection::pointerPosition() const {
  if (display_ == nullptr) return std::nullopt;
  Display* display = AsDisplay(display_);
  ::Window root = 0;
  ::Window child = 0;
  int rootX = 0;
  int rootY = 0;
  int windowX = 0;
  int windowY = 0;
  unsigned int mask = 0;
  if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX,
                    &windowY, &mask) == 0) {
    return std::nullopt;
  }
  return Point{rootX, rootY};
}

uint64_t XConnection::inputFocus() const {
  if (display_ == nullptr) return 0;
  ::Window focus = 0;
  int revertTo = 0;
  XGetInputFocus(AsDisplay(display_), &focus, &revertTo);
  return focus == PointerRoot ? 0 : focus;
}

uint64_t XConnection::findWindow(std::string_view className, std::string_view title) const {
  if (display_ == nullptr) return 0;
  Display* display = AsDisplay(display_);
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
        if (Named(display, children[i], className, title) && !OwnerHasEnded(display, children[i])) {
          const uint64_t found = children[i];
          XFree(children);
          return found;
        }
      }
      if (children != nullptr) XFree(children);
    }
    pending = std::move(next);
  }
  return 0;
}

std::optional<SdlXWindow> XWindowOf(SDL_Window* window) {
  if (window == nullptr) return std::nullopt;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
  return SdlXWindow{info.info.x11.display, info.info.x11.window};
}

int XSocketOf(SDL_Window* window) {
  const auto x = XWindowOf(window);
  return x ? ConnectionNumber(AsDisplay(x->display)) : -1;
}

void SetXClass(SDL_Window* window, std::string_view className) {
  const auto x = XWindowOf(window);
  if (!x) return;
  XClassHint hint;
  std::string name = "grazefall";
  std::string cls(className);
  hint.res_name = name.data();
  hint.res_class = cls.data();
  XSetClassHint(AsDisplay(x->display), static_cast<::Window>(x->window), &hint);
  XFlush(AsDisplay(x->display));
}

}  // namespace grazefall::platform::sdl
