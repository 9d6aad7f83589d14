#include "host/session.h"

#include <utility>

namespace grazefall::host {

Session::Session(platform::Platform& platformServices, platform::WindowSystem& windowSystem)
    : platform(platformServices), windows(windowSystem) {
  saver.platform = &platform;
  saver.windows = &windows;
}

void Session::reset() {
  host = HostState{};
  auto adjustOptions = std::move(saver.adjustOptions);
  saver = SaverLifecycle{};
  saver.adjustOptions = std::move(adjustOptions);
  saver.platform = &platform;
  saver.windows = &windows;
}

}  // namespace grazefall::host
