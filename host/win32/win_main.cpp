// Entry point of the Windows screen saver: makes the Win32 platform and
// window system, then runs the mode the screen-saver command line asks for.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "host/host_main.h"
#include "host/saver_window.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_system.h"
#include "sheet/win32/win32_property_sheet.h"

namespace {

grazefall::host::Session* runningSession = nullptr;

// The last word on a fault no C++ handler can see (an access violation, say):
// never leave the system believing a saver still runs behind a crash, and
// end with -1 as any refused run does.
LONG WINAPI EndAfterFault(EXCEPTION_POINTERS*) {
  if (runningSession != nullptr) grazefall::host::SetSaverRunning(*runningSession, false);
  ExitProcess(static_cast<UINT>(grazefall::host::kExitRefused));
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace grazefall;
  platform::win32::Win32Platform platform(instance);
  platform::win32::Win32WindowSystem windows(instance);

  host::Session session(platform, windows);
  session.showConfigurationSheet = [instance, &platform] {
    platform::win32::ShowWin32ConfigurationSheet(instance, platform);
  };

  runningSession = &session;
  SetUnhandledExceptionFilter(EndAfterFault);

  const char* commandLine = GetCommandLineA();
  const int32_t exitCode =
      host::HostMain(session, reinterpret_cast<uintptr_t>(instance),
                     host::SkipProgramName(commandLine != nullptr ? commandLine : ""));
  ExitProcess(static_cast<UINT>(exitCode));
}
