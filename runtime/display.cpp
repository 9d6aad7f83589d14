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

bool OpenDisplay(Display& display, platform::Platform& system, platform::WindowHandle window) {
  display.system = &system;
  display.directDraw = system.createDisplayDevice();
  if (!display.directDraw) return false;
  if (display.directDraw->takeFullScreen(window) != kOk) return false;
  const platform::DisplayMode mode{display.width, display.height, display.bitDepth};
  if (display.directDraw->setMode(mode) != kOk) return false;
  display.primary = display.directDraw->createPrimary();
  if (!display.primary) return false;
  // A missing back buffer does not fail the start; drawing into it is then
  // skipped by every helper.
  display.backBuffer = display.directDraw->backBufferOf(*display.primary);

  display.primary->fill(display.fillColor);
  if (display.backBuffer) {
    display.backBuffer->fill(display.fillColor);
    const std::array<platform::Rect, 1> screen{platform::Rect{0, 0, display.width, display.height}};
    AttachClipList(display, *display.backBuffer, screen);
  }
  return true;
}

bool OpenInputDevices(InputDevices& input, platform::Platform& system,
                      platform::WindowHandle window) {
  input.directInput = system.createInputSystem();
  if (!input.directInput) return false;

  input.keyboard = input.directInput->createDevice(platform::InputKind::Keyboard);
  if (!input.keyboard || !PrepareDevice(*input.keyboard, window)) return false;

  input.mouse = input.directInput->createDevice(platform::InputKind::Mouse);
  if (!input.mouse || !PrepareDevice(*input.mouse, window)) return false;
  return true;
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

bool UserInterrupted(InputDevices& input) {
  // A keyboard that cannot be read counts as untouched; the mouse is still read.
  if (input.keyboard) {
    platform::KeyboardState keys{};
    if (input.keyboard->readKeyboard(&keys) == kOk && (keys[platform::kScanEscape] & 0x80) != 0) {
      return true;
    }
  }

  if (!input.mouse) return false;
  platform::MouseState mouse{};
  if (input.mouse->readMouse(&mouse) != kOk) return false;
  // Only the first three buttons count, and only movement right or down.
  if (mouse.buttons[0] != 0 || mouse.buttons[1] != 0 || mouse.buttons[2] != 0) return true;
  if (mouse.lX > 5 || mouse.lY > 5) return true;
  return false;
}

}  // namespace grazefall
