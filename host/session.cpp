#include "host/session.h"

#include <utility>

namespace grazefall::host {

Session::Session(platform::Platform& platformServices, platform::WindowSystem& windowSystem,
                 AnimationDriver* animation)
    : platform(platformServices), windows(windowSystem) {
  saver.platform = &platform;
  saver.windows = &windows;
  saver.animation = animation;
}

void Session::reset() {
  host = HostState{};
  AnimationDriver* animation = saver.animation;
  auto adjustOptions = std::move(saver.adjustOptions);
  saver = SaverLifecycle{};
  saver.adjustOptions = std::move(adjustOptions);
  saver.platform = &platform;
  saver.windows = &windows;
  saver.animation = animation;
}

}  // namespace grazefall::host
