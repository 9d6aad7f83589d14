#include "saver/saver_proc.h"

#include "options/options_store.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "saver/preview.h"

namespace grazefall {

SaverLifecycle saverLifecycle;

namespace {

platform::MessageResult PassOn(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                               intptr_t lParam) {
  if (saverLifecycle.defaultProc == nullptr) {
    return platform::CurrentWindowSystem().defaultWindowProc(window, message, wParam, lParam);
  }
  return saverLifecycle.defaultProc(window, message, wParam, lParam);
}

void OnTimer(platform::WindowHandle window) {
  SaverLifecycle& state = saverLifecycle;
  if (state.isPreview) {
    DrawPreview();
    return;
  }
  if (state.animation == nullptr) return;
  if (state.animationStarted) {
    const uint32_t pause = state.animation->runFrame();
    if (pause != 0) platform::CurrentPlatform().sleepMs(pause);
    return;
  }
  // Every attempt starts from scratch; a failed one is dropped and the next
  // tick tries again.
  state.animation->newAnimation(activeOptions);
  if (state.animation->start(window) == 0) state.animationStarted = true;
}

}  // namespace

platform::MessageResult SaverProc(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam) {
  SaverLifecycle& state = saverLifecycle;
  platform::WindowSystem& windows = platform::CurrentWindowSystem();
  switch (message) {
    case platform::kWmCreate:
      state.saverWindow = window;
      LoadSaverOptions();
      state.frameTimer = windows.setTimer(window, kFrameTimerId, kFrameTimerPeriodMs);
      return 0;
    case platform::kWmTimer:
      OnTimer(window);
      break;
    case platform::kWmDestroy:
      windows.killTimer(window, kFrameTimerId);
      if (state.animationStarted && state.animation != nullptr) {
        state.animation->end();
        state.animationStarted = false;
      }
      break;
    case platform::kWmMouseMove:
      if (state.mouseMovesToIgnore > 0) {
        --state.mouseMovesToIgnore;
        return 0;
      }
      break;
    default:
      break;
  }
  return PassOn(window, message, wParam, lParam);
}

}  // namespace grazefall
