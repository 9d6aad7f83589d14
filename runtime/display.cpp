#include "runtime/display.h"

#include <array>

namespace grazefall {
namespace {

using platform::kOk;

// A display that keeps refusing to flip loses the frame rather than the saver.
constexpr int kFlipAttempts = 4;

// Cooperative level, standard format and acquire for one freshly made device.
bool PrepareDevice(platform::InputDevice& device, platform::WindowHandle window) {
  return device.setCooperativeLevel(window) == kOk && device.setStandardFormat() == kOk &&
         device.acquire() == kOk;
}

}  // namespace

bool AttachClipList(Display& display, platform::Surface& surface,
                    std::span<const platform::Rect> rectangles) {
  // The clipper belongs to the driver object: without one there is none.
  if (!display.directDraw) return false;
  return surface.setClipList(rectangles) == kOk;
}

int32_t OpenDisplay(Display& display, platform::Platform& system, platform::WindowHandle window) {
  display.system = &system;
  display.directDraw = system.createDisplayDevice();
  if (!display.directDraw) return 1;
  if (display.directDraw->takeFullScreen(window) != kOk) return 1;
  const platform::DisplayMode mode{display.width, display.height, display.bitDepth};
  if (display.directDraw->setMode(mode) != kOk) return 1;
  display.primary = display.directDraw->createPrimary();
  if (!display.primary) return 1;
  // A missing back buffer does not fail the start; drawing into it is then
  // skipped by every helper.
  display.backBuffer = display.directDraw->backBufferOf(*display.primary);

  display.primary->fill(display.fillColor);
  if (display.backBuffer) {
    display.backBuffer->fill(display.fillColor);
    const std::array<platform::Rect, 1> screen{platform::Rect{0, 0, display.width, display.height}};
    AttachClipList(display, *display.backBuffer, screen);
  }
  return 0;
}

int32_t OpenInputDevices(InputDevices& input, platform::Platform& system,
                         platform::WindowHandle window) {
  input.directInput = system.createInputSystem();
  if (!input.directInput) return 1;

  input.keyboard = input.directInput->createDevice(platform::InputKind::Keyboard);
  if (!input.keyboard || !PrepareDevice(*input.keyboard, window)) return 1;

  input.mouse = input.directInput->createDevice(platform::InputKind::Mouse);
  if (!input.mouse || !PrepareDevice(*input.mouse, window)) return 1;
  return 0;
}

void ReleaseDisplaySurfaces(Display& display) {
  display.backBuffer.reset();
  display.primary.reset();
}

void ReleaseInputDevices(InputDevices& input) {
  if (input.keyboard) {
    input.keyboard->unacquire();
    input.keyboard.reset();
  }
  if (input.mouse) {
    input.mouse->unacquire();
    input.mouse.reset();
  }
}

void PresentFrame(Display& display) {
  if (!display.directDraw || !display.primary) return;
  for (int attempt = 0; attempt < kFlipAttempts; ++attempt) {
    if (display.directDraw->flip(*display.primary) == kOk) return;
  }
}

int32_t UserInterrupted(InputDevices& input) {
  // A keyboard that cannot be read counts as untouched; the mouse is still read.
  if (input.keyboard) {
    platform::KeyboardState keys{};
    if (input.keyboard->readKeyboard(&keys) == kOk && (keys[platform::kScanEscape] & 0x80) != 0) {
      return 1;
    }
  }

  if (!input.mouse) return 0;
  platform::MouseState mouse{};
  if (input.mouse->readMouse(&mouse) != kOk) return 0;
  // Only the first three buttons count, and only movement right or down.
  if (mouse.buttons[0] != 0 || mouse.buttons[1] != 0 || mouse.buttons[2] != 0) return 1;
  if (mouse.lX > 5 || mouse.lY > 5) return 1;
  return 0;
}

}  // namespace grazefall
