#include "platform/windowing.h"

#include <cstdio>
#include <cstdlib>

namespace grazefall::platform {
namespace {
WindowSystem* installedWindowSystem = nullptr;
}  // namespace

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
