// The system keyboard and mouse through DirectInput 7 (ANSI interface), in
// their standard data formats, non-exclusive and in the background.
#pragma once

#include <windows.h>

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0700
#endif
#include <dinput.h>

#include <memory>

#include "platform/input_device.h"
#include "platform/win32/com_ptr.h"

namespace grazefall::platform::win32 {

class DirectInputDevice : public InputDevice {
 public:
  DirectInputDevice(InputKind kind, ComPtr<IDirectInputDeviceA> device);
  ~DirectInputDevice() override;

  int32_t setCooperativeLevel(WindowHandle window) override;
  int32_t setStandardFormat() override;
  int32_t acquire() override;
  int32_t unacquire() override;
  int32_t readKeyboard(KeyboardState* state) override;
  int32_t readMouse(MouseState* state) override;

 private:
  InputKind kind_;
  ComPtr<IDirectInputDeviceA> device_;
  bool acquired_ = false;
  // Some DirectInput implementations report the cursor's whole position as
  // movement in the first mouse read after an acquire; that read is dropped.
  bool discardNextMouseRead_ = false;
};

class DirectInputSystem : public InputSystem {
 public:
  // Null when DirectInputCreateA fails.
  static std::unique_ptr<DirectInputSystem> Create(HINSTANCE instance);
  std::unique_ptr<InputDevice> createDevice(InputKind kind) override;

 private:
  explicit DirectInputSystem(ComPtr<IDirectInputA> directInput);
  ComPtr<IDirectInputA> directInput_;
};

}  // namespace grazefall::platform::win32
