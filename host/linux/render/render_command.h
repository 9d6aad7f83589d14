// grazefall --render: the animation without a display, every presented frame
// written as a PNG file.
#pragma once

#include "platform/headless/headless_platform.h"

namespace grazefall::app {

// grazefall --render DIR --frames N [...]: frames to PNG files, no display.
// Returns the process exit code.
int RunRenderCommand(int argc, char** argv);
// The same on a given headless platform, which is installed for the run and
// uninstalled after it; tests read back what it recorded.
int RunRenderCommand(int argc, char** argv, platform::HeadlessPlatform& headless);

}  // namespace grazefall::app
