#include "host/host_main.h"

#include <exception>

#include "host/saver_window.h"
#include "platform/windowing.h"

namespace grazefall::host {
namespace {

bool IsBlank(char c) {
  return c == ' ';
}

std::string_view SkipBlanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

// A handle that names a live window, else the foreground window.
platform::WindowHandle OwnerOrForeground(platform::WindowSystem& windows,
                                         platform::WindowHandle handle) {
  if (handle != 0 && windows.isWindow(handle)) return handle;
  return windows.foregroundWindow();
}

int32_t RunMode(Session& session, std::string_view commandLine) {
  platform::WindowSystem& windows = session.windows;
  for (size_t i = 0; i < commandLine.size(); ++i) {
    const char c = commandLine[i];
    std::string_view rest = commandLine.substr(i + 1);
    switch (c) {
      case ' ':
      case '-':
      case '/':
        continue;
      case 'S':
      case 's':
        return RunSaver(session, 0);
      case 'P':
      case 'p':
      case 'L':
      case 'l': {
        const platform::WindowHandle parent = ParseWindowHandle(SkipBlanks(rest));
        if (parent != 0 && windows.isWindow(parent)) return RunSaver(session, parent);
        return kExitRefused;
      }
      case 'C':
      case 'c': {
        platform::WindowHandle handle = 0;
        if (!rest.empty() && rest.front() == ':') handle = ParseWindowHandle(rest.substr(1));
        return RunConfiguration(session, OwnerOrForeground(windows, handle));
      }
      case 'A':
      case 'a':
        if (!session.host.onWindows9x) return kExitRefused;
        ChangePassword(session, OwnerOrForeground(windows, ParseWindowHandle(SkipBlanks(rest))));
        return 0;
      default:
        return kExitRefused;
    }
  }
  return RunConfiguration(session, 0);
}

}  // namespace

std::string_view SkipProgramName(std::string_view commandLine) {
  size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    i = 1;
    while (i < commandLine.size() && commandLine[i] != '"') ++i;
    if (i < commandLine.size()) ++i;
  } else {
    while (i < commandLine.size() && static_cast<unsigned char>(commandLine[i]) > 0x20) ++i;
  }
  while (i < commandLine.size() && commandLine[i] >= 0x01 && commandLine[i] <= 0x20) ++i;
  return commandLine.substr(i);
}

platform::WindowHandle ParseWindowHandle(std::string_view text) {
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10u + static_cast<uint32_t>(c - '0');
  }
  return value;
}

int32_t RunConfiguration(Session& session, platform::WindowHandle owner) {
  if (session.showConfigurationSheet) session.showConfigurationSheet();
  // The sheet's hook always answers "go on", so the host's own dialog is
  // asked for; without its template that request fails with -1.
  return session.windows.runTemplateDialog(kHostConfigurationTemplate, owner);
}

void ChangePassword(Session& session, platform::WindowHandle owner) {
  session.windows.changePassword("SCRSAVE", owner);
}

int32_t HostMain(Session& session, uintptr_t module, std::string_view commandLine) {
  session.host.moduleInstance = module;
  session.host.onWindows9x = session.windows.saverHandlesPasswords();
  try {
    return RunMode(session, commandLine);
  } catch (...) {
    // Never leave the system believing a saver still runs behind a crash.
    SetSaverRunning(session, false);
    return kExitRefused;
  }
}

}  // namespace grazefall::host
