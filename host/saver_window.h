// The saver window: its class and the two kinds of window, the message loop,
// the host's window procedure and the closing rules, and the password check.
#pragma once

#include <cstdint>
#include <string_view>

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
int32_t RunSaver(platform::WindowHandle parent);
// The full-screen saver where another program decides where it draws and
// when it ends (a window it was given): no single-instance test.
int32_t RunEmbeddedSaver();
int32_t RunSaverWindow(platform::WindowHandle parent, bool singleInstance);

platform::MessageResult HostWindowProc(platform::WindowHandle window, uint32_t message,
                                       uintptr_t wParam, intptr_t lParam);
platform::MessageResult DefaultSaverProc(platform::WindowHandle window, uint32_t message,
                                         uintptr_t wParam, intptr_t lParam);
// Nonzero when the window may close.
int32_t VerifyBeforeClose(platform::WindowHandle window);

void LoadPasswordVerifier();
void UnloadPasswordVerifier();
void SetSaverRunning(bool running);

}  // namespace grazefall::host
