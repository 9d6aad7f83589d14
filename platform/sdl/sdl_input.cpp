#include "platform/sdl/sdl_input.h"

#include <SDL.h>

#include "platform/sdl/sdl_window_system.h"

namespace grazefall::platform::sdl {
namespace {

class SdlInputDevice : public InputDevice {
 public:
  SdlInputDevice(InputKind kind, bool quiet) : kind_(kind), quiet_(quiet) {}

  int32_t setCooperativeLevel(WindowHandle) override { return kOk; }
  int32_t setStandardFormat() override { return kOk; }
  int32_t acquire() override {
    if (kind_ == InputKind::Mouse) {
      // Movement counts from now on, not since the program started.
      int x = 0;
      int y = 0;
      SDL_GetRelativeMouseState(&x, &y);
    }
    acquired_ = true;
    return kOk;
  }
  int32_t unacquire() override {
    acquired_ = false;
    return kOk;
  }

  int32_t readKeyboard(KeyboardState* state) override {
    if (state == nullptr || kind_ != InputKind::Keyboard || !acquired_) return kEFail;
    state->fill(0);
    // A stop request reads as Escape, so a long start gives up at once.
    if (SdlWindowSystem::StopRequested()) (*state)[kScanEscape] = 0x80;
    if (quiet_) return kOk;
    SDL_PumpEvents();
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    for (int i = 0; i < count; ++i) {
      const int scan = ScanCodeOf(i);
      if (keys[i] != 0 && scan != 0) (*state)[static_cast<size_t>(scan)] = 0x80;
    }
    return kOk;
  }

  int32_t readMouse(MouseState* state) override {
    if (state == nullptr || kind_ != InputKind::Mouse || !acquired_) return kEFail;
    *state = MouseState{};
    if (quiet_) return kOk;
    SDL_PumpEvents();
    int dx = 0;
    int dy = 0;
    const Uint32 buttons = SDL_GetRelativeMouseState(&dx, &dy);
    state->lX = dx;
    state->lY = dy;
    state->buttons[0] = (buttons & SDL_BUTTON_LMASK) != 0 ? 0x80 : 0;
    state->buttons[1] = (buttons & SDL_BUTTON_RMASK) != 0 ? 0x80 : 0;
    state->buttons[2] = (buttons & SDL_BUTTON_MMASK) != 0 ? 0x80 : 0;
    return kOk;
  }

 private:
  InputKind kind_;
  bool quiet_;
  bool acquired_ = false;
};

}  // namespace

int ScanCodeOf(int sdlScancode) {
  switch (sdlScancode) {
    case SDL_SCANCODE_ESCAPE:
      return 0x01;
    case SDL_SCANCODE_RETURN:
      return 0x1C;
    case SDL_SCANCODE_SPACE:
      return 0x39;
    case SDL_SCANCODE_LSHIFT:
      return 0x2A;
    case SDL_SCANCODE_RSHIFT:
      return 0x36;
    case SDL_SCANCODE_LCTRL:
      return 0x1D;
    case SDL_SCANCODE_LALT:
      return 0x38;
    default:
      if (sdlScancode >= SDL_SCANCODE_1 && sdlScancode <= SDL_SCANCODE_0) {
        return 0x02 + (sdlScancode - SDL_SCANCODE_1);
      }
      return 0;
  }
}

std::unique_ptr<InputDevice> SdlInputSystem::createDevice(InputKind kind) {
  return std::make_unique<SdlInputDevice>(kind, quiet_);
}

}  // namespace grazefall::platform::sdl
