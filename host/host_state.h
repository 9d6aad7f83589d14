// The host's state for one saver window: the flags and values its closing
// rules and the password check work with.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/types.h"
#include "platform/windowing.h"

namespace grazefall::host {

constexpr int32_t kDefaultMouseMoveThreshold = 4;
constexpr uint32_t kNoPasswordCheckYet = 0xFFFFFFFFu;
// No second password dialog within this many milliseconds of the last one.
constexpr uint32_t kPasswordRetryPauseMs = 200;

struct HostState {
  uintptr_t moduleInstance = 0;
  // The system is of the family (Windows 95, 98, Me) that leaves the password
  // check, the "saver running" notice and the password change to the saver
  // itself; the window system answers it with saverHandlesPasswords().
  bool onWindows9x = false;
  platform::WindowHandle saverWindow = 0;
  bool isPreview = false;
  // The close has been allowed: input and ticks are ignored from then on.
  bool closing = false;
  bool inPasswordCheck = false;
  platform::Point cursorAnchor{};
  int32_t mouseMoveThreshold = kDefaultMouseMoveThreshold;
  uint32_t lastPasswordCheck = kNoPasswordCheckYet;
  uint32_t autoPlayMessage = 0;
  std::unique_ptr<platform::PasswordVerifier> verifyPassword;
  bool imeDetached = false;
  uintptr_t savedImeContext = 0;
};

}  // namespace grazefall::host
