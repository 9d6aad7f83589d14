// The screen-saver command line on Linux: the Windows letters through
// HostMain, and XScreenSaver's hack options, over the SDL window system.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_main.h"
#include "host/linux/commands.h"
#include "host/linux/flags/option_flags.h"
#include "host/linux/hack_options.h"
#include "host/linux/video_driver_choice.h"
#include "host/linux/x_server_probe.h"
#include "host/saver_window.h"
#include "host/session.h"
#include "platform/platform.h"
#include "platform/sdl/display_watchdog.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_window_system.h"
#include "platform/sdl/xkb_layout_guard.h"
#include "platform/windowing.h"
#include "sheet/qt/configuration_dialog.h"

#ifndef GRAZEFALL_VERSION
#define GRAZEFALL_VERSION "unknown"
#endif

namespace grazefall::app {
namespace {

// The exit status of a command line the program cannot take, as --render's.
constexpr int kBadOptionFlag = 2;

// A person at a terminal gets a reason; the screen-saver machinery does not.
void Complain(const std::string& text) {
  if (isatty(STDERR_FILENO) == 0) return;
  std::fprintf(stderr, "grazefall: %s\n", text.c_str());
}

// GRAZEFALL_SEED, the calendar seconds the saver's clock is held at so that
// every run seeds the same herd: the CPU benches compare programs on it.
std::optional<int64_t> HeldTime() {
  const char* text = std::getenv("GRAZEFALL_SEED");
  if (text == nullptr) return std::nullopt;
  const std::optional<uint32_t> seed = flags::ParseWholeNumber<uint32_t>(text);
  if (!seed) {
    std::fprintf(stderr,
                 "grazefall: GRAZEFALL_SEED must be a whole number from 0 to 4294967295, not "
                 "'%s'; the time seeds the herd\n",
                 text);
  }
  return seed;
}

void OnStopSignal(int) {
  platform::sdl::SdlWindowSystem::RequestStop();
  platform::sdl::DisplayWatchdog::NoteStopSignal();
}

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

bool NeedsDisplay(const host::LinuxCommand& command) {
  if (command.mode != host::LinuxMode::Letters) return true;
  const char letter = host::ModeLetter(command.letters);
  return letter == 's' || letter == 'p' || letter == 'l';
}

bool ShowsSettings(const host::LinuxCommand& command) {
  if (command.mode != host::LinuxMode::Letters) return false;
  const char letter = host::ModeLetter(command.letters);
  return letter == 'c' || letter == 0;
}

// Whether Qt will show the dialog through its X11 plugin (xcb): unless
// QT_QPA_PLATFORM names another plugin first (offscreen, wayland, ...), or
// the session is Wayland's and Qt picks that.
bool DialogUsesX() {
  const char* asked = std::getenv("QT_QPA_PLATFORM");
  if (asked != nullptr && *asked != '\0') {
    const std::string_view names(asked);
    return names.substr(0, names.find_first_of(";:")) == "xcb";
  }
  const char* session = std::getenv("XDG_SESSION_TYPE");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const bool waylandSession = session != nullptr && std::strcmp(session, "wayland") == 0 &&
                              wayland != nullptr && *wayland != '\0';
  return !waylandSession;
}

// SDL's driver for this command: Wayland's only where WAYLAND_DISPLAY is set
// and no X server answers (the X server is asked only then).
std::string_view PickVideoDriver(bool needsX) {
  DisplayEnvironment environment;
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  environment.waylandDisplay = wayland != nullptr && *wayland != '\0';
  environment.xServerAnswers = needsX || !environment.waylandDisplay || XServerProblem().empty();
  return ChooseVideoDriver(environment, needsX);
}

// Opens the display this command draws on; false (said to a person) when it
// cannot, or when the command draws into X windows and the display is not X.
bool OpenDisplay(const host::LinuxCommand& command, platform::sdl::SdlWindowSystem& windows) {
  const std::string xOnly(XOnlyFeature(command));
  std::string reason;
  if (!windows.open(&reason, PickVideoDriver(!xOnly.empty()))) {
    if (!xOnly.empty()) {
      const std::string problem = XServerProblem();
      Complain(xOnly + " needs X11: " + (problem.empty() ? reason : problem));
    } else {
      Complain("cannot open the display: " + reason);
    }
    return false;
  }
  if (!xOnly.empty() && !windows.onX11()) {
    Complain(xOnly + " needs X11, and SDL_VIDEODRIVER names another system");
    return false;
  }
  return true;
}

int32_t RunCommand(const host::LinuxCommand& command, platform::sdl::SdlWindowSystem& windows,
                   host::Session& session) {
  switch (command.mode) {
    case host::LinuxMode::InWindow: {
      const uint64_t target = command.window != 0 ? command.window : windows.rootWindow();
      if (target == 0 || !windows.isWindow(target)) {
        Complain("no X window with id " + std::to_string(command.window));
        return host::kExitRefused;
      }
      windows.setTargetWindow(target);
      return host::RunEmbeddedSaver(session);
    }
    case host::LinuxMode::OrdinaryWindow:
      windows.setOrdinaryWindow(true);
      return host::RunEmbeddedSaver(session);
    default:
      break;
  }
  const int32_t code = host::HostMain(session, 0, command.letters);
  const char letter = host::ModeLetter(command.letters);
  if (code == host::kExitRefused) {
    if (letter == 'p' || letter == 'l') {
      Complain("no window to draw the preview in (give the decimal id of a live X window)");
    } else if (letter == 'a') {
      Complain("this system changes the screen-saver password itself");
    } else if (letter != 'c' && letter != 0) {
      Complain("unknown mode \"" + command.letters + "\" (see --help)");
    }
  }
  return code;
}

}  // namespace

int RunSaverCommand(int argc, char** argv) {
  // From the first moment on: a stop signal before the loop runs is taken
  // when it does (or by the watchdog).
  InstallStopSignals();
  std::vector<std::string_view> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  std::optional<std::string_view> xscreensaverWindow;
  if (const char* value = std::getenv("XSCREENSAVER_WINDOW")) xscreensaverWindow = value;

  const host::LinuxCommand command = host::ParseLinuxCommand(args, xscreensaverWindow);
  switch (command.mode) {
    case host::LinuxMode::Help:
      std::fputs(host::UsageText().c_str(), stdout);
      return 0;
    case host::LinuxMode::Version:
      std::printf("grazefall %s\n", GRAZEFALL_VERSION);
      return 0;
    case host::LinuxMode::Error:
      Complain(command.error);
      return host::kExitRefused;
    case host::LinuxMode::BadOptionFlag:
      // Said whoever started it: XScreenSaver keeps a hack's error output.
      std::fprintf(stderr, "grazefall: %s\n", command.error.c_str());
      return kBadOptionFlag;
    default:
      break;
  }

  if (ShowsSettings(command) && DialogUsesX()) {
    const std::string problem = XServerProblem();
    if (!problem.empty()) {
      Complain("cannot open the display: " + problem);
      return host::kExitRefused;
    }
  }

  // A saver ends on a stop signal or with its compositor even while SDL is
  // still starting (see DisplayWatchdog).
  platform::sdl::DisplayWatchdog watchdog;
  if (NeedsDisplay(command)) watchdog.start();
  platform::sdl::SdlWindowSystem windows;
  if (NeedsDisplay(command) && !OpenDisplay(command, windows)) return host::kExitRefused;
  if (windows.onWayland() && !watchdog.watchWayland()) return platform::sdl::kExitDisplayLost;
  if (windows.onWayland()) platform::sdl::CheckXkbLayoutGuard();
  platform::sdl::SdlPlatformOptions options;
  options.showFrameRate = command.showFrameRate;
  options.quietInput = command.mode != host::LinuxMode::Letters;
  options.heldTime = HeldTime();
  platform::sdl::SdlPlatform sdlPlatform(windows, options);

  host::Session session(sdlPlatform, windows);
  // The settings dialog shares the saver's store and lists the screen's modes itself.
  session.showConfigurationSheet = [argc, argv, &sdlPlatform] {
    qtui::ShowConfigurationSheet(argc, argv, sdlPlatform.settingsStore());
  };
  // The settings dialog edits the stored record as it is; only the saver
  // runs with this command line's changes.
  if (command.optionFlags.any()) {
    session.saver.adjustOptions = [&command, &sdlPlatform](ScenarioOptions& options) {
      flags::ApplyOptionFlags(command.optionFlags, sdlPlatform.settingsStore(), options);
    };
  }
  const int32_t code = RunCommand(command, windows, session);
  // A compositor that ends answers nothing more; a live one answers at once.
  constexpr int kCompositorAnswerMs = 500;
  return watchdog.lostBeforeAnswering(kCompositorAnswerMs) ? platform::sdl::kExitDisplayLost : code;
}

}  // namespace grazefall::app
