// Any command line, as words separated by NUL bytes (after a last newline:
// the XSCREENSAVER_WINDOW variable), through every parser that reads one: the
// screen-saver letters and window handles of the host, X window ids, the
// XScreenSaver hack options and the renderer's options. The saver modes run
// over the in-memory window system and platform, so a mode that starts the
// saver ends as soon as its script does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_main.h"
#include "host/linux/hack_options.h"
#include "host/linux/render/render_request.h"
#include "host/session.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_windowing.h"

namespace {

using namespace grazefall;

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  if (text.empty()) return words;
  for (;;) {
    const size_t end = text.find('\0');
    words.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return words;
    text.remove_prefix(end + 1);
  }
}

void RunHostMain(std::string_view commandLine) {
  platform::HeadlessPlatform platformScope;
  platform::HeadlessWindowSystem windows;
  platformScope.useClockAndCursor(windows.clock(), windows.cursor());
  // A preview parent for "/p HANDLE" to find.
  windows.addForeignWindow("Preview", "Display Properties", 152, 112);
  host::Session session(platformScope, windows);
  host::HostMain(session, 0x400000, commandLine);
  // Whatever the mode, the system is not left believing a saver runs.
  if (!windows.runningNotices().empty() && windows.runningNotices().back()) std::abort();
  platformScope.useOwnClockAndCursor();
}

void CheckWindowId(std::string_view text) {
  const std::optional<uint64_t> id = host::ParseWindowId(text);
  if (!id) return;
  if (*id == 0 || *id > 0xFFFFFFFFu) std::abort();
  // Its decimal spelling names the same window.
  if (host::ParseWindowId(std::to_string(*id)) != id) std::abort();
}

void CheckLinuxCommand(const std::vector<std::string_view>& args,
                       std::optional<std::string_view> xscreensaverWindow) {
  const host::LinuxCommand command = host::ParseLinuxCommand(args, xscreensaverWindow);
  // A refused command line, and only that, says why.
  const bool refused =
      command.mode == host::LinuxMode::Error || command.mode == host::LinuxMode::BadOptionFlag;
  if (refused == command.error.empty()) std::abort();
  if (command.mode == host::LinuxMode::Letters) {
    host::ModeLetter(command.letters);
    RunHostMain(command.letters);
  }
}

void CheckRenderRequest(const std::vector<std::string_view>& args) {
  app::RenderRequest request;
  if (!app::ParseRenderRequest(args, &request).empty()) return;
  if (request.directory.empty() || request.frames < 1 || request.frames > app::kMaxRenderFrames)
    std::abort();
  if (request.mode && (request.mode->width < 1 || request.mode->height < 1 ||
                       request.mode->width > app::kMaxRenderModeSide ||
                       request.mode->height > app::kMaxRenderModeSide))
    std::abort();
  if (request.gifStep < 1 || request.gifFrom < 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::optional<std::string_view> xscreensaverWindow;
  if (const size_t newline = text.rfind('\n'); newline != std::string_view::npos) {
    xscreensaverWindow = text.substr(newline + 1);
    text = text.substr(0, newline);
  }
  const std::vector<std::string_view> words = Words(text);

  // Windows hands the saver one line, its own name first.
  std::string line = "grazefall.scr";
  for (const std::string_view word : words) {
    line += ' ';
    line += word;
  }
  const std::string_view letters = host::SkipProgramName(line);
  if (letters.size() > line.size()) std::abort();
  host::ParseWindowHandle(letters);
  RunHostMain(letters);

  for (const std::string_view word : words) CheckWindowId(word);
  if (xscreensaverWindow) CheckWindowId(*xscreensaverWindow);
  CheckLinuxCommand(words, xscreensaverWindow);
  CheckRenderRequest(words);
  return 0;
}
