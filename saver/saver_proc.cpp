#include "saver/saver_proc.h"

#include "options/options_store.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "saver/preview.h"

namespace grazefall {
namespace {

void OnTimer(SaverLifecycle& saver, platform::WindowHandle window) {
  if (saver.isPreview) {
    DrawPreview(saver);
    return;
  }
  if (saver.animation == nullptr) return;
  if (saver.animationStarted) {
    const uint32_t pause = saver.animation->runFrame();
    if (pause != 0) saver.platform->clock().sleepMs(pause);
    return;
  }
  // Every attempt starts from scratch; a failed one is dropped and the next
  // tick tries again.
  saver.animation->newAnimation(activeOptions);
  if (saver.animation->start(window) == 0) saver.animationStarted = true;
}

}  // namespace

std::optional<platform::MessageResult> SaverProc(SaverLifecycle& saver,
                                                 platform::WindowHandle window, uint32_t message,
                                                 uintptr_t, intptr_t) {
  switch (message) {
    case platform::kWmCreate:
      saver.saverWindow = window;
      LoadSaverOptions(*saver.platform);
      if (saver.adjustOptions) saver.adjustOptions(activeOptions);
      saver.frameTimer = saver.windows->setTimer(window, kFrameTimerId, kFrameTimerPeriodMs);
      return 0;
    case platform::kWmTimer:
      OnTimer(saver, window);
      return std::nullopt;
    case platform::kWmDestroy:
      saver.windows->killTimer(window, kFrameTimerId);
      if (saver.animationStarted && saver.animation != nullptr) {
        saver.animation->end();
        saver.animationStarted = false;
      }
      return std::nullopt;
    case platform::kWmMouseMove:
      if (saver.mouseMovesToIgnore > 0) {
        --saver.mouseMovesToIgnore;
        return 0;
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace grazefall
