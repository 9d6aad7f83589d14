// The window system the saver's host runs over: the saver window (full screen
// over the virtual screen, or a preview child of a parent window), window
// lookup, the message queue and loop, the frame timer, screen geometry, and
// painting a picture into a window for the preview. The cursor and the clock
// are the Platform's (platform/cursor.h, platform/clock.h).
//
// What the host relies on:
//   - createWindow sends WM_CREATE to the procedure before it returns;
//   - posted messages arrive in order, after the one being handled; a send
//     runs the procedure at once;
//   - getMessage blocks until a message arrives and answers false for
//     WM_QUIT (after postQuitMessage), whose wParam is the quit code;
//   - a timer delivers WM_TIMER to its window with the timer id as wParam,
//     at most one pending at a time, and only when no other message waits;
//   - defaultWindowProc destroys the window on WM_CLOSE (sending WM_DESTROY).
// Optional services a system may lack answer "absent": the password verifier
// and password change, the "screen saver running" notice, registered message
// ids, and the input method context.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/picture.h"
#include "platform/types.h"

namespace grazefall::platform {

using MessageResult = intptr_t;
// A window class's procedure; it carries whatever the windows of its class
// answer with (the host's session), so no window system keeps that for it.
using WindowProc = std::function<MessageResult(WindowHandle window, uint32_t message,
                                               uintptr_t wParam, intptr_t lParam)>;

struct Message {
  WindowHandle window = 0;
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

enum class WindowKind {
  // Borderless, topmost, over `bounds` of the screen.
  FullScreen,
  // A child covering `bounds` of `parent`'s client area.
  Preview,
};

struct WindowSpec {
  WindowKind kind = WindowKind::FullScreen;
  std::string_view className;
  std::string_view title;
  Rect bounds{};
  WindowHandle parent = 0;
};

// The screen-saver password check of the systems that leave it to the saver.
class PasswordVerifier {
 public:
  virtual ~PasswordVerifier() = default;
  // Shows the system's password dialog; nonzero when the right one was given.
  virtual int32_t verify(WindowHandle window) = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // --- Windows ---
  // Registers the saver window class with its procedure; false on failure.
  virtual bool registerClass(std::string_view className, WindowProc procedure) = 0;
  // A window of a registered class; 0 on failure. WM_CREATE has been handled
  // when it returns.
  virtual WindowHandle createWindow(const WindowSpec& spec) = 0;
  // The window of that class and title, or 0.
  virtual WindowHandle findWindow(std::string_view className, std::string_view title) = 0;
  virtual bool isWindow(WindowHandle window) = 0;
  virtual WindowHandle foregroundWindow() = 0;
  virtual void setForegroundWindow(WindowHandle window) = 0;
  // The parent of a child window, or 0.
  virtual WindowHandle parentOf(WindowHandle window) = 0;

  // --- Messages ---
  virtual bool postMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                           intptr_t lParam) = 0;
  virtual MessageResult sendMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                                    intptr_t lParam) = 0;
  virtual void postQuitMessage(int32_t exitCode) = 0;
  // Blocks for the next message; false when it is WM_QUIT.
  virtual bool getMessage(Message* message) = 0;
  // Hands the message to its window's procedure.
  virtual MessageResult dispatchMessage(const Message& message) = 0;
  // Removes up to `limit` queued WM_TIMER messages of the window; how many.
  virtual int32_t removeTimerMessages(WindowHandle window, int32_t limit) = 0;
  // The system's own handling; destroys the window on WM_CLOSE.
  virtual MessageResult defaultWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam,
                                          intptr_t lParam) = 0;
  // The id of a message registered by name, or 0 where there is no such thing.
  virtual uint32_t registerWindowMessage(std::string_view) { return 0; }

  // --- Timer ---
  // WM_TIMER every `periodMs` to the window; the result is the timer id or 0.
  virtual uint32_t setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) = 0;
  virtual void killTimer(WindowHandle window, uint32_t timerId) = 0;

  // --- Geometry ---
  // The virtual screen (every monitor together) in screen pixels.
  virtual Rect virtualScreen() = 0;
  // The width and height of a window's client area; false for a dead window.
  virtual bool clientSize(WindowHandle window, int32_t* width, int32_t* height) = 0;

  // --- Preview painting ---
  // Copies the picture unscaled to (x, y) of the window; false when the
  // window cannot be drawn on.
  virtual bool paintPicture(WindowHandle window, const Picture& picture, int32_t x, int32_t y) = 0;

  // --- Services of the systems that leave passwords to the saver ---
  // True on a system where the saver itself asks for the password.
  virtual bool saverHandlesPasswords() { return false; }
  // The system's "use a password" switch; false when it cannot be read.
  virtual bool readPasswordSwitch(uint32_t* value) {
    (void)value;
    return false;
  }
  // The system's password check, or null when it is not available.
  virtual std::unique_ptr<PasswordVerifier> loadPasswordVerifier() { return nullptr; }
  // Tells the system a screen saver is (true) or is not (false) running.
  virtual void setScreenSaverRunning(bool) {}
  // Shows the system's password-change dialog for `provider`; false when the
  // service is missing.
  virtual bool changePassword(std::string_view provider, WindowHandle owner) {
    (void)provider;
    (void)owner;
    return false;
  }

  // --- Input method ---
  // Takes the window's input-method context away; false when the system has
  // no input method service loaded. `saved` receives the previous context.
  virtual bool detachInputMethod(WindowHandle window, uintptr_t* saved) {
    (void)window;
    (void)saved;
    return false;
  }
  virtual void restoreInputMethod(WindowHandle, uintptr_t) {}

  // A modal dialog from a template of the program, owned by `owner`; its
  // result, or -1 when the template does not exist.
  virtual int32_t runTemplateDialog(int32_t templateId, WindowHandle owner) {
    (void)templateId;
    (void)owner;
    return -1;
  }
};

}  // namespace grazefall::platform
