// The process entry's work: the command line picks one mode (full screen,
// preview, configuration or password change) and its exit code is returned.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/session.h"
#include "platform/types.h"

namespace grazefall::host {

constexpr int32_t kExitRefused = -1;
// The template of the host's own configuration dialog, which the program
// does not carry.
constexpr int32_t kHostConfigurationTemplate = 2003;

// The rest of a full command line once the program name and the blanks after
// it are skipped (a quoted name runs to its closing quote).
std::string_view SkipProgramName(std::string_view commandLine);

// Reads the command line and runs the mode it asks for in `session`.
int32_t HostMain(Session& session, uintptr_t module, std::string_view commandLine);

// Leading decimal digits as an unsigned 32-bit number (wrapping); 0 when the
// text does not start with a digit.
platform::WindowHandle ParseWindowHandle(std::string_view text);

// Shows the settings sheet, then asks for the host's own dialog, which fails.
int32_t RunConfiguration(Session& session, platform::WindowHandle owner);
// The system's password-change dialog for the saver's provider.
void ChangePassword(Session& session, platform::WindowHandle owner);

}  // namespace grazefall::host
