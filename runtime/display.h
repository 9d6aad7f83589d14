// The full-screen display and the keyboard and mouse while the saver runs:
// the two records the animation draws and polls through, how they are set up
// and released, the screen clipper, the present of a finished frame, and the
// poll for a user who wants the screen back during the start.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/display_device.h"
#include "platform/input_device.h"
#include "platform/platform.h"
#include "platform/surface.h"
#include "platform/types.h"

namespace grazefall {

struct Display {
  // The platform the display was opened on: its pictures fill the display's
  // surfaces. Null until OpenDisplay.
  platform::Platform* system = nullptr;
  // The display driver object (DirectDraw on Windows, the backend's display
  // device elsewhere): the screen's mode, the flipping chain, surfaces.
  std::unique_ptr<platform::DisplayDevice> directDraw;
  std::unique_ptr<platform::Surface> primary;
  std::unique_ptr<platform::Surface> backBuffer;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitDepth = 0;
  uint32_t fillColor = 0;
};

struct InputDevices {
  // The input object (DirectInput on Windows) the two devices come from.
  std::unique_ptr<platform::InputSystem> directInput;
  std::unique_ptr<platform::InputDevice> keyboard;
  std::unique_ptr<platform::InputDevice> mouse;
};

// Gives `surface` a clipper holding the rectangles. False when the display
// has no driver object or the clipper cannot be set (drawing then goes on
// unclipped).
bool AttachClipList(Display& display, platform::Surface& surface,
                    std::span<const platform::Rect> rectangles);

// Display set-up on `system` in the start's order: driver object, full screen for the
// window, the mode width x height x bitDepth already in `display`, the
// flipping primary and its back buffer, both cleared, the screen clipper.
// False at the first step that fails (what was made stays).
bool OpenDisplay(Display& display, platform::Platform& system, platform::WindowHandle window);

// Input set-up on `system`: the input object, then keyboard and mouse (cooperative level,
// standard format, acquire). False at the first failing step.
bool OpenInputDevices(InputDevices& input, platform::Platform& system,
                      platform::WindowHandle window);

// Releases the back buffer then the primary; unacquires and releases the
// keyboard then the mouse. The driver and input objects stay.
void ReleaseDisplaySurfaces(Display& display);
void ReleaseInputDevices(InputDevices& input);

// Shows the back buffer. The flip is asked again when it fails, a bounded
// number of times, so a display that cannot flip never hangs a frame.
void PresentFrame(Display& display);

// True when Escape is down, a left, right or middle button is down, or the
// mouse moved more than 5 counts right or down since the previous read.
bool UserInterrupted(InputDevices& input);

}  // namespace grazefall
