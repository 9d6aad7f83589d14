#include "host/saver_window.h"

#include <cstdlib>

#include "host/host_state.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "saver/saver_proc.h"

namespace grazefall::host {
namespace {

using platform::MessageResult;
using platform::WindowHandle;
namespace msg = platform;

platform::WindowSystem& Windows() {
  return platform::CurrentWindowSystem();
}

platform::Cursor& TheCursor() {
  return platform::CurrentPlatform().cursor();
}

platform::Clock& TheClock() {
  return platform::CurrentPlatform().clock();
}

void PostClose(WindowHandle window) {
  Windows().postMessage(window, msg::kWmClose, 0, 0);
}

// The cursor's total displacement from the anchor, |dx| + |dy|, as an
// unsigned number so far-apart positions never overflow.
uint64_t DistanceFromAnchor(const platform::Point& now) {
  const int64_t dx = static_cast<int64_t>(now.x) - hostState.cursorAnchor.x;
  const int64_t dy = static_cast<int64_t>(now.y) - hostState.cursorAnchor.y;
  return static_cast<uint64_t>(std::llabs(dx)) + static_cast<uint64_t>(std::llabs(dy));
}

// The closing rules. Returns true when the message is answered here with
// `*result` instead of going on to the default handling.
bool ApplyClosingRules(WindowHandle window, uint32_t message, uintptr_t wParam,
                       MessageResult* result) {
  switch (message) {
    case msg::kWmKeyDown:
    case msg::kWmSysKeyDown:
    case msg::kWmLButtonDown:
    case msg::kWmRButtonDown:
    case msg::kWmMButtonDown:
      PostClose(window);
      return false;
    case msg::kWmMouseMove: {
      const platform::Point now = TheCursor().position();
      if (DistanceFromAnchor(now) > static_cast<uint64_t>(hostState.mouseMoveThreshold)) {
        PostClose(window);
        hostState.cursorAnchor = now;
      }
      return false;
    }
    case msg::kWmActivateApp:
      if (wParam == 0) PostClose(window);
      return false;
    case msg::kWmPower:
      if (wParam == msg::kPwrCriticalResume) PostClose(window);
      return false;
    case msg::kWmPowerBroadcast:
      PostClose(window);
      return false;
    case msg::kWmShowWindow:
      if (wParam != 0) TheCursor().hideImage();
      return false;
    case msg::kWmSetCursor:
      TheCursor().hideImage();
      *result = 1;
      return true;
    default:
      return false;
  }
}

}  // namespace

MessageResult DefaultSaverProc(WindowHandle window, uint32_t message, uintptr_t wParam,
                               intptr_t lParam) {
  if (!hostState.isPreview && !hostState.closing) {
    if (message == msg::kWmClose) {
      if (hostState.onWindows9x && VerifyBeforeClose(window) == 0) {
        hostState.cursorAnchor = TheCursor().position();
        return 0;
      }
    } else if (message == msg::kWmApp) {
      if (hostState.onWindows9x) {
        return hostState.verifyPassword ? hostState.verifyPassword->verify(window) : 1;
      }
    } else if (!hostState.inPasswordCheck) {
      MessageResult result = 0;
      if (ApplyClosingRules(window, message, wParam, &result)) return result;
    }
  }
  if (hostState.autoPlayMessage != 0 && message == hostState.autoPlayMessage) {
    PostClose(window);
    return hostState.verifyPassword ? 1 : 0;
  }
  return Windows().defaultWindowProc(window, message, wParam, lParam);
}

MessageResult HostWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam,
                             intptr_t lParam) {
  platform::WindowSystem& windows = Windows();
  switch (message) {
    case msg::kWmCreate:
      hostState.imeDetached = windows.detachInputMethod(window, &hostState.savedImeContext);
      hostState.cursorAnchor = TheCursor().position();
      if (!hostState.isPreview) TheCursor().hideImage();
      break;
    case msg::kWmDestroy:
      if (hostState.imeDetached && hostState.savedImeContext != 0) {
        windows.restoreInputMethod(window, hostState.savedImeContext);
      }
      windows.postQuitMessage(0);
      break;
    case msg::kWmSetText:
      return 0;
    case msg::kWmPaint:
      if (hostState.closing) return windows.defaultWindowProc(window, message, wParam, lParam);
      if (!hostState.isPreview) TheCursor().hideImage();
      break;
    case msg::kWmHelp:
    case msg::kWmContextMenu:
      if (hostState.isPreview) {
        const WindowHandle parent = windows.parentOf(window);
        if (parent != 0 && windows.isWindow(parent)) {
          windows.postMessage(parent, message, parent, lParam);
        }
        return 1;
      }
      break;
    case msg::kWmKeyDown:
    case msg::kWmSysKeyDown:
    case msg::kWmMouseMove:
    case msg::kWmLButtonDown:
    case msg::kWmRButtonDown:
    case msg::kWmMButtonDown:
      if (hostState.closing) return windows.defaultWindowProc(window, message, wParam, lParam);
      break;
    case msg::kWmSysCommand:
      if (!hostState.isPreview && (wParam == msg::kScNextWindow || wParam == msg::kScPrevWindow ||
                                   wParam == msg::kScScreenSave)) {
        return 0;
      }
      break;
    case msg::kWmTimer:
      if (hostState.closing) return 0;
      TheClock().sleepMs(0);
      break;
    default:
      break;
  }
  return SaverProc(window, message, wParam, lParam);
}

int32_t VerifyBeforeClose(WindowHandle window) {
  if (hostState.inPasswordCheck || hostState.closing) return 0;
  if (!hostState.verifyPassword) {
    hostState.closing = true;
    return 1;
  }
  platform::WindowSystem& windows = Windows();
  const uint32_t now = TheClock().tickCount();
  if (hostState.lastPasswordCheck != kNoPasswordCheckYet &&
      now - hostState.lastPasswordCheck < kPasswordRetryPauseMs) {
    return 0;
  }
  hostState.inPasswordCheck = true;
  windows.removeTimerMessages(window, 2);
  hostState.closing = windows.sendMessage(window, msg::kWmApp, 0, 0) != 0;
  hostState.inPasswordCheck = false;
  if (!hostState.closing) TheCursor().hideImage();
  hostState.lastPasswordCheck = TheClock().tickCount();
  return hostState.closing ? 1 : 0;
}

void SetSaverRunning(bool running) {
  if (!hostState.onWindows9x) return;
  Windows().setScreenSaverRunning(running);
}

void LoadPasswordVerifier() {
  if (!hostState.onWindows9x) return;
  if (hostState.verifyPassword) UnloadPasswordVerifier();
  uint32_t usePassword = 0;
  if (!Windows().readPasswordSwitch(&usePassword) || usePassword == 0) return;
  hostState.verifyPassword = Windows().loadPasswordVerifier();
  if (hostState.verifyPassword) SetSaverRunning(true);
}

void UnloadPasswordVerifier() {
  if (!hostState.onWindows9x || !hostState.verifyPassword) return;
  hostState.verifyPassword.reset();
  SetSaverRunning(false);
}

int32_t RunSaver(WindowHandle parent) {
  return RunSaverWindow(parent, true);
}

int32_t RunEmbeddedSaver() {
  return RunSaverWindow(0, false);
}

int32_t RunSaverWindow(WindowHandle parent, bool singleInstance) {
  platform::WindowSystem& windows = Windows();
  platform::WindowSpec spec;
  spec.className = kSaverClassName;
  if (parent != 0) {
    int32_t width = 0;
    int32_t height = 0;
    windows.clientSize(parent, &width, &height);
    spec.kind = platform::WindowKind::Preview;
    spec.title = kPreviewTitle;
    spec.parent = parent;
    spec.bounds = platform::Rect{0, 0, width, height};
    hostState.isPreview = true;
  } else {
    spec.kind = platform::WindowKind::FullScreen;
    spec.title = kFullScreenTitle;
    spec.bounds = windows.virtualScreen();
    const WindowHandle running =
        singleInstance ? windows.findWindow(kSaverClassName, kFullScreenTitle) : 0;
    if (running != 0 && windows.isWindow(running)) {
      windows.setForegroundWindow(running);
      return 0;
    }
    LoadPasswordVerifier();
  }
  hostState.autoPlayMessage =
      hostState.onWindows9x ? windows.registerWindowMessage(kAutoPlayMessageName) : 0;

  saverLifecycle.isPreview = hostState.isPreview;
  saverLifecycle.defaultProc = DefaultSaverProc;

  platform::Message last;
  if (windows.registerClass(kSaverClassName, HostWindowProc)) {
    hostState.saverWindow = windows.createWindow(spec);
  }
  if (hostState.saverWindow != 0) {
    if (!hostState.isPreview) windows.setForegroundWindow(hostState.saverWindow);
    while (windows.getMessage(&last)) windows.dispatchMessage(last);
  }
  UnloadPasswordVerifier();
  // No window means the saver never ran: say so rather than report success.
  if (hostState.saverWindow == 0) return kExitNoWindow;
  return static_cast<int32_t>(last.wParam);
}

}  // namespace grazefall::host
