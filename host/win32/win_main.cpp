// Entry point of the Windows screen saver: installs the Win32 platform and
// window system, then runs the mode the screen-saver command line asks for.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "host/host_main.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_system.h"
#include "saver/saver_proc.h"
#include "sheet/win32/win32_property_sheet.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace grazefall;
  platform::win32::Win32Platform platform(instance);
  platform::InstallPlatform(&platform);
  platform::win32::Win32WindowSystem windows(instance);

  std::unique_ptr<AnimationDriver> animation = MakeAnimationDriver();
  host::Session session(platform, windows, animation.get());
  session.showConfigurationSheet = [instance] {
    platform::win32::ShowWin32ConfigurationSheet(instance);
  };

  const char* commandLine = GetCommandLineA();
  const int32_t exitCode =
      host::HostMain(session, reinterpret_cast<uintptr_t>(instance),
                     host::SkipProgramName(commandLine != nullptr ? commandLine : ""));
  ExitProcess(static_cast<UINT>(exitCode));
}
