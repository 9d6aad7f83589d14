#include "host/saver_window.h"

#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/messages.h"
#include "saver/saver_proc.h"

namespace grazefall::host {
namespace {

using platform::MessageResult;
using platform::WindowHandle;
namespace msg = platform;

// The saver window's class procedure for one run: it answers with the run's
// session while the run's message loop goes on. A message for a window whose
// run has ended (the class stays registered) has no one left to answer.
class SessionProcedure {
 public:
  explicit SessionProcedure(Session& session) : session_(std::make_shared<Session*>(&session)) {}
  ~SessionProcedure() { *session_ = nullptr; }
  SessionProcedure(const SessionProcedure&) = delete;
  SessionProcedure& operator=(const SessionProcedure&) = delete;

  platform::WindowProc procedure() const {
    return [session = session_](WindowHandle window, uint32_t message, uintptr_t wParam,
                                intptr_t lParam) -> MessageResult {
      if (*session == nullptr) return 0;
      return HostWindowProc(**session, window, message, wParam, lParam);
    };
  }

 private:
  std::shared_ptr<Session*> session_;
};

void PostClose(Session& session, WindowHandle window) {
  session.windows.postMessage(window, msg::kWmClose, 0, 0);
}

// The cursor's total displacement from the anchor, |dx| + |dy|, as an
// unsigned number so far-apart positions never overflow.
uint64_t DistanceFromAnchor(const HostState& host, const platform::Point& now) {
  const int64_t dx = static_cast<int64_t>(now.x) - host.cursorAnchor.x;
  const int64_t dy = static_cast<int64_t>(now.y) - host.cursorAnchor.y;
  return static_cast<uint64_t>(std::llabs(dx)) + static_cast<uint64_t>(std::llabs(dy));
}

// The closing rules. Returns true when the message is answered here with
// `*result` instead of going on to the default handling.
bool ApplyClosingRules(Session& session, WindowHandle window, uint32_t message, uintptr_t wParam,
                       MessageResult* result) {
  HostState& host = session.host;
  switch (message) {
    case msg::kWmKeyDown:
    case msg::kWmSysKeyDown:
    case msg::kWmLButtonDown:
    case msg::kWmRButtonDown:
    case msg::kWmMButtonDown:
      PostClose(session, window);
      return false;
    case msg::kWmMouseMove: {
      const platform::Point now = session.platform.cursor().position();
      if (DistanceFromAnchor(host, now) > static_cast<uint64_t>(host.mouseMoveThreshold)) {
        PostClose(session, window);
        host.cursorAnchor = now;
      }
      return false;
    }
    case msg::kWmActivateApp:
      if (wParam == 0) PostClose(session, window);
      return false;
    case msg::kWmPower:
      if (wParam == msg::kPwrCriticalResume) PostClose(session, window);
      return false;
    case msg::kWmPowerBroadcast:
      PostClose(session, window);
      return false;
    case msg::kWmShowWindow:
      if (wParam != 0) session.platform.cursor().hideImage();
      return false;
    case msg::kWmSetCursor:
      session.platform.cursor().hideImage();
      *result = 1;
      return true;
    default:
      return false;
  }
}

}  // namespace

MessageResult DefaultSaverProc(Session& session, WindowHandle window, uint32_t message,
                               uintptr_t wParam, intptr_t lParam) {
  HostState& host = session.host;
  if (!host.isPreview && !host.closing) {
    if (message == msg::kWmClose) {
      if (host.onWindows9x && VerifyBeforeClose(session, window) == 0) {
        host.cursorAnchor = session.platform.cursor().position();
        return 0;
      }
    } else if (message == msg::kWmApp) {
      if (host.onWindows9x) {
        return host.verifyPassword ? host.verifyPassword->verify(window) : 1;
      }
    } else if (!host.inPasswordCheck) {
      MessageResult result = 0;
      if (ApplyClosingRules(session, window, message, wParam, &result)) return result;
    }
  }
  if (host.autoPlayMessage != 0 && message == host.autoPlayMessage) {
    PostClose(session, window);
    return host.verifyPassword ? 1 : 0;
  }
  return session.windows.defaultWindowProc(window, message, wParam, lParam);
}

MessageResult HostWindowProc(Session& session, WindowHandle window, uint32_t message,
                             uintptr_t wParam, intptr_t lParam) {
  platform::WindowSystem& windows = session.windows;
  HostState& host = session.host;
  switch (message) {
    case msg::kWmCreate:
      host.imeDetached = windows.detachInputMethod(window, &host.savedImeContext);
      host.cursorAnchor = session.platform.cursor().position();
      if (!host.isPreview) session.platform.cursor().hideImage();
      break;
    case msg::kWmDestroy:
      if (host.imeDetached && host.savedImeContext != 0) {
        windows.restoreInputMethod(window, host.savedImeContext);
      }
      windows.postQuitMessage(0);
      break;
    case msg::kWmSetText:
      return 0;
    case msg::kWmPaint:
      if (host.closing) return windows.defaultWindowProc(window, message, wParam, lParam);
      if (!host.isPreview) session.platform.cursor().hideImage();
      break;
    case msg::kWmHelp:
    case msg::kWmContextMenu:
      if (host.isPreview) {
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
      if (host.closing) return windows.defaultWindowProc(window, message, wParam, lParam);
      break;
    case msg::kWmSysCommand:
      if (!host.isPreview && (wParam == msg::kScNextWindow || wParam == msg::kScPrevWindow ||
                              wParam == msg::kScScreenSave)) {
        return 0;
      }
      break;
    case msg::kWmTimer:
      if (host.closing) return 0;
      session.platform.clock().sleepMs(0);
      break;
    default:
      break;
  }
  if (const std::optional<MessageResult> answer =
          SaverProc(session.saver, window, message, wParam, lParam)) {
    return *answer;
  }
  return DefaultSaverProc(session, window, message, wParam, lParam);
}

int32_t VerifyBeforeClose(Session& session, WindowHandle window) {
  HostState& host = session.host;
  if (host.inPasswordCheck || host.closing) return 0;
  if (!host.verifyPassword) {
    host.closing = true;
    return 1;
  }
  platform::WindowSystem& windows = session.windows;
  const uint32_t now = session.platform.clock().tickCount();
  if (host.lastPasswordCheck != kNoPasswordCheckYet &&
      now - host.lastPasswordCheck < kPasswordRetryPauseMs) {
    return 0;
  }
  host.inPasswordCheck = true;
  windows.removeTimerMessages(window, 2);
  host.closing = windows.sendMessage(window, msg::kWmApp, 0, 0) != 0;
  host.inPasswordCheck = false;
  if (!host.closing) session.platform.cursor().hideImage();
  host.lastPasswordCheck = session.platform.clock().tickCount();
  return host.closing ? 1 : 0;
}

void SetSaverRunning(Session& session, bool running) {
  if (!session.host.onWindows9x) return;
  session.windows.setScreenSaverRunning(running);
}

void LoadPasswordVerifier(Session& session) {
  HostState& host = session.host;
  if (!host.onWindows9x) return;
  if (host.verifyPassword) UnloadPasswordVerifier(session);
  uint32_t usePassword = 0;
  if (!session.windows.readPasswordSwitch(&usePassword) || usePassword == 0) return;
  host.verifyPassword = session.windows.loadPasswordVerifier();
  if (host.verifyPassword) SetSaverRunning(session, true);
}

void UnloadPasswordVerifier(Session& session) {
  if (!session.host.onWindows9x || !session.host.verifyPassword) return;
  session.host.verifyPassword.reset();
  SetSaverRunning(session, false);
}

int32_t RunSaver(Session& session, WindowHandle parent) {
  return RunSaverWindow(session, parent, true);
}

int32_t RunEmbeddedSaver(Session& session) {
  return RunSaverWindow(session, 0, false);
}

int32_t RunSaverWindow(Session& session, WindowHandle parent, bool singleInstance) {
  platform::WindowSystem& windows = session.windows;
  HostState& host = session.host;
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
    host.isPreview = true;
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
    LoadPasswordVerifier(session);
  }
  host.autoPlayMessage = host.onWindows9x ? windows.registerWindowMessage(kAutoPlayMessageName) : 0;

  session.saver.isPreview = host.isPreview;

  const SessionProcedure answering(session);
  platform::Message last;
  if (windows.registerClass(kSaverClassName, answering.procedure())) {
    host.saverWindow = windows.createWindow(spec);
  }
  if (host.saverWindow != 0) {
    if (!host.isPreview) windows.setForegroundWindow(host.saverWindow);
    while (windows.getMessage(&last)) windows.dispatchMessage(last);
  }
  UnloadPasswordVerifier(session);
  // No window means the saver never ran: say so rather than report success.
  if (host.saverWindow == 0) return kExitNoWindow;
  return static_cast<int32_t>(last.wParam);
}

}  // namespace grazefall::host
