// The Linux command line: XScreenSaver's hack options (-root, -window-id,
// -window, -fps, --help, --version, with one dash or two, and the
// XSCREENSAVER_WINDOW variable) on top of the screen-saver letters, which are
// passed on to HostMain as one line. The run-time option flags
// (host/linux/flags/) may come anywhere among them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/linux/flags/option_flags.h"

namespace grazefall::host {

enum class LinuxMode {
  // The screen-saver letters: `letters` goes to HostMain.
  Letters,
  // The whole animation inside an existing X window (`window`; 0 = the root).
  InWindow,
  // An ordinary resizable window.
  OrdinaryWindow,
  Help,
  Version,
  // A malformed command line: `error` says what is wrong.
  Error,
  // An option flag with a bad value: `error` says which and what is allowed.
  BadOptionFlag,
};

struct LinuxCommand {
  LinuxMode mode = LinuxMode::Letters;
  std::string letters;
  uint64_t window = 0;
  bool showFrameRate = false;
  // This run's changes to the stored options.
  flags::OptionFlags optionFlags;
  std::string error;
};

// `xscreensaverWindow`: the XSCREENSAVER_WINDOW variable, when set.
LinuxCommand ParseLinuxCommand(const std::vector<std::string_view>& args,
                               std::optional<std::string_view> xscreensaverWindow);

// An X window id written in decimal or as 0x hex; nothing for anything else,
// 0, or a value beyond 32 bits.
std::optional<uint64_t> ParseWindowId(std::string_view text);

// The first letter that decides the screen-saver mode, lower case; 0 for an
// empty line.
char ModeLetter(std::string_view letters);

std::string UsageText();

}  // namespace grazefall::host
