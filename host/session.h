// One run of the host: the platform and window system it runs over, what
// shows the settings sheet, the host's own state and the saver procedure's.
// The program makes one per process; tests make as many as they like.
#pragma once

#include <functional>

#include "host/host_state.h"
#include "platform/platform.h"
#include "platform/windowing.h"
#include "saver/saver_proc.h"

namespace grazefall::host {

struct Session {
  Session(platform::Platform& platform, platform::WindowSystem& windows);

  platform::Platform& platform;
  platform::WindowSystem& windows;
  // Shows the settings sheet (modal, no owner). Unset: nothing is shown.
  std::function<void()> showConfigurationSheet;

  HostState host;
  SaverLifecycle saver;

  // Back to the state a fresh process starts with, keeping the services, the
  // option changes and the sheet (tests run many saver windows
  // on one session).
  void reset();
};

}  // namespace grazefall::host
