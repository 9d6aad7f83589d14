// The settings dialog as a real PropertySheetA: seven pages from the
// program's dialog templates, driven by the same page logic as every other
// front end. Each page's control model is mirrored onto the real controls
// after every step of the logic, and the user's edits are read back into the
// model before the logic hears of them.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace grazefall::platform::win32 {

// Runs the sheet modally with no owner window over `system`'s store and
// display; returns when it has closed.
void ShowWin32ConfigurationSheet(HINSTANCE module, Platform& system);

}  // namespace grazefall::platform::win32
