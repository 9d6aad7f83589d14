#include "platform/windowing.h"

#include <cstdio>
#include <cstdlib>

#include "platform/messages.h"

namespace grazefall::platform {
namespace {
WindowSystem* installedWindowSystem = nullptr;
}  // namespace

int32_t RemoveQueuedTimerMessages(std::deque<Message>& queue, WindowHandle window, int32_t limit) {
  int32_t removed = 0;
  for (auto it = queue.begin(); it != queue.end() && removed < limit;) {
    if (it->window == window && it->message == kWmTimer) {
      it = queue.erase(it);
      ++removed;
    } else {
      ++it;
    }
  }
  return removed;
}

void InstallWindowSystem(WindowSystem* windowSystem) {
  installedWindowSystem = windowSystem;
}

bool HasWindowSystem() {
  return installedWindowSystem != nullptr;
}

WindowSystem& CurrentWindowSystem() {
  if (installedWindowSystem == nullptr) {
    std::fputs("grazefall: no window system installed\n", stderr);
    std::abort();
  }
  return *installedWindowSystem;
}

}  // namespace grazefall::platform
