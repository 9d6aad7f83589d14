#include "host/session.h"

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
  saver = SaverLifecycle{};
  saver.platform = &platform;
  saver.windows = &windows;
  saver.animation = animation;
}

}  // namespace grazefall::host
