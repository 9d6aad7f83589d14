// The platform the settings dialog installs for itself when the program has
// installed none: the user's settings directory, and the primary screen's
// resolution offered at 8, 16, 24 and 32 bits per pixel. Nothing else works.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace grazefall::qtui {

// A platform for the dialog alone; needs a QGuiApplication.
std::unique_ptr<platform::Platform> MakeDialogPlatform();

}  // namespace grazefall::qtui
