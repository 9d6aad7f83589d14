// grazefall --render: the animation without a display, every presented frame
// written as a PNG file.
#pragma once

namespace grazefall::app {

// grazefall --render DIR --frames N [...]: frames to PNG files, no display.
// Returns the process exit code.
int RunRenderCommand(int argc, char** argv);

}  // namespace grazefall::app
