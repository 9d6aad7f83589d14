#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace grazefall::platform {
namespace {
Platform* installed = nullptr;
}  // namespace

void InstallPlatform(Platform* platform) {
  installed = platform;
}

bool HasPlatform() {
  return installed != nullptr;
}

Platform& CurrentPlatform() {
  if (installed == nullptr) {
    std::fputs("grazefall: no platform installed\n", stderr);
    std::abort();
  }
  return *installed;
}

}  // namespace grazefall::platform
