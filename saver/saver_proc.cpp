#include "saver/saver_proc.h"

#include "options/options_store.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "saver/animation_state.h"
#include "saver/preview.h"

namespace grazefall {
namespace {

void OnTimer(SaverLifecycle& saver, platform::WindowHandle window) {
  if (saver.isPreview) {
    DrawPreview(saver);
    return;
  }
  if (saver.animationStarted) {
    const uint32_t pause = RunFrame(*saver.animation);
    if (pause != 0) saver.platform->clock().sleepMs(pause);
    return;
  }
  // Every attempt starts from scratch; a failed one is dropped and the next
  // tick tries again.
  saver.animation = NewAnimation(*saver.platform, activeOptions);
  if (StartAnimation(*saver.animation, window)) saver.animationStarted = true;
}

}  // namespace

// Out of line: the animation's type is complete only here.
SaverLifecycle::SaverLifecycle() = default;
SaverLifecycle::~SaverLifecycle() = default;
SaverLifecycle::SaverLifecycle(SaverLifecycle&&) noexcept = default;
SaverLifecycle& SaverLifecycle::operator=(SaverLifecycle&&) noexcept = default;

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
      if (saver.animationStarted) {
        EndAnimation(*saver.animation);
        saver.animationStarted = false;
      }
      saver.animation.reset();
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
