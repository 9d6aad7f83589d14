// The saver window: its class and the two kinds of window, the message loop,
// the host's window procedure and the closing rules, and the password check.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/session.h"
#include "platform/types.h"
#include "platform/windowing.h"

namespace grazefall::host {

constexpr std::string_view kSaverClassName = "WindowsScreenSaverClass";
constexpr std::string_view kFullScreenTitle = "Screen Saver";
constexpr std::string_view kPreviewTitle = "Preview";
constexpr std::string_view kAutoPlayMessageName = "QueryCancelAutoPlay";
// RunSaver's exit code when no saver window could be made.
constexpr int32_t kExitNoWindow = -1;

// Full screen (parent 0) or preview inside `parent`; the exit code.
int32_t RunSaver(Session& session, platform::WindowHandle parent);
// The full-screen saver where another program decides where it draws and
// when it ends (a window it was given): no single-instance test.
int32_t RunEmbeddedSaver(Session& session);
int32_t RunSaverWindow(Session& session, platform::WindowHandle parent, bool singleInstance);

// The saver window's procedure: the host's filters, then the saver's own
// procedure, then, for what the saver leaves, DefaultSaverProc.
platform::MessageResult HostWindowProc(Session& session, platform::WindowHandle window,
                                       uint32_t message, uintptr_t wParam, intptr_t lParam);
// The closing rules, then the system's default handling.
platform::MessageResult DefaultSaverProc(Session& session, platform::WindowHandle window,
                                         uint32_t message, uintptr_t wParam, intptr_t lParam);
// Nonzero when the window may close.
int32_t VerifyBeforeClose(Session& session, platform::WindowHandle window);

void LoadPasswordVerifier(Session& session);
void UnloadPasswordVerifier(Session& session);
void SetSaverRunning(Session& session, bool running);

}  // namespace grazefall::host
