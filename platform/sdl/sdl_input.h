// The keyboard and mouse read as whole states from SDL, for the animation's
// check whether the user wants the screen back while the herd is built.
#pragma once

#include <memory>

#include "platform/input_device.h"

namespace grazefall::platform::sdl {

class SdlInputSystem : public InputSystem {
 public:
  // `quiet`: the saver does not own the input (XScreenSaver's window, an
  // ordinary window); the devices then report nothing but a stop request.
  explicit SdlInputSystem(bool quiet) : quiet_(quiet) {}
  std::unique_ptr<InputDevice> createDevice(InputKind kind) override;

 private:
  bool quiet_;
};

// The PC keyboard scan code of an SDL scan code; 0 for keys without one here.
int ScanCodeOf(int sdlScancode);

}  // namespace grazefall::platform::sdl
