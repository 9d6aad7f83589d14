// Our own X connection, beside SDL's, for what SDL does not do: looking up
// the windows of other programs (a running saver, a preview parent,
// XScreenSaver's window), asking whether they still exist and how large they
// are, raising them, and where the pointer and the keyboard focus are.
// Xlib stays out of this header: X windows are plain 64-bit ids here.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/types.h"

struct SDL_Window;

namespace grazefall::platform::sdl {

class XConnection {
 public:
  XConnection() = default;
  ~XConnection();
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  // Connects to $DISPLAY; X errors about windows other programs destroyed
  // under us are ignored from then on. False when no server answers.
  bool open();
  bool isOpen() const { return display_ != nullptr; }
  // The Xlib Display, for the calls of foreign_windows.cpp.
  void* display() const { return display_; }

  uint64_t rootWindow() const;
  bool windowAlive(uint64_t window) const;
  bool windowSize(uint64_t window, int32_t* width, int32_t* height) const;
  void raise(uint64_t window);
  // The pointer on the root window (the virtual screen), or nullopt.
  std::optional<Point> pointerPosition() const;
  // The window that has the keyboard focus, or 0.
  uint64_t inputFocus() const;
  // A top-level window (or a window manager's frame's child) with this class
  // and title whose program is still running; 0 when there is none.
  uint64_t findWindow(std::string_view className, std::string_view title) const;

 private:
  void* display_ = nullptr;
};

// The X connection and window behind one of SDL's windows; nullopt when SDL
// does not run on X11.
struct SdlXWindow {
  void* display = nullptr;
  uint64_t window = 0;
};
std::optional<SdlXWindow> XWindowOf(SDL_Window* window);

// The socket of SDL's X connection behind `window`, or -1.
int XSocketOf(SDL_Window* window);

// Names one of our own X windows: instance "grazefall", class `className`,
// so that another process finds it (XConnection::findWindow).
void SetXClass(SDL_Window* window, std::string_view className);

}  // namespace grazefall::platform::sdl
