// Whether the X server that DISPLAY names answers, asked without Qt or SDL.
#pragma once

#include <string>

namespace grazefall::app {

// Opens and closes a connection to the X server DISPLAY names. Empty when it
// answers, else why not, for a person to read.
std::string XServerProblem();

}  // namespace grazefall::app
