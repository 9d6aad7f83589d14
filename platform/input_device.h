// The system keyboard and mouse read as whole states: 256 key bytes (bit 0x80
// set while the key is down, indexed by scan code) and relative mouse axes with
// four button bytes, counted since the previous read.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/types.h"

namespace grazefall::platform {

using KeyboardState = std::array<uint8_t, 256>;
constexpr int kScanEscape = 0x01;

struct MouseState {
  int32_t lX = 0;
  int32_t lY = 0;
  int32_t lZ = 0;
  std::array<uint8_t, 4> buttons{};
};

enum class InputKind { Keyboard, Mouse };

class InputDevice {
 public:
  virtual ~InputDevice() = default;
  // Non-exclusive, background use for `window`.
  virtual int32_t setCooperativeLevel(WindowHandle window) = 0;
  // Selects the standard data format of the device's kind.
  virtual int32_t setStandardFormat() = 0;
  virtual int32_t acquire() = 0;
  virtual int32_t unacquire() = 0;
  // Fill the state of the device's kind; kOk on success.
  virtual int32_t readKeyboard(KeyboardState* state) = 0;
  virtual int32_t readMouse(MouseState* state) = 0;
};

class InputSystem {
 public:
  virtual ~InputSystem() = default;
  virtual std::unique_ptr<InputDevice> createDevice(InputKind kind) = 0;
};

}  // namespace grazefall::platform
