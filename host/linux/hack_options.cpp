#include "host/linux/hack_options.h"

#include <cctype>

namespace grazefall::host {
namespace {

// "-root" and "--root" alike; "--window-id=5" gives its value in `value`.
bool IsOption(std::string_view arg, std::string_view name, std::optional<std::string_view>* value) {
  if (arg.starts_with("--")) {
    arg.remove_prefix(2);
  } else if (arg.starts_with("-")) {
    arg.remove_prefix(1);
  } else {
    return false;
  }
  if (arg == name) return true;
  if (value != nullptr && arg.starts_with(name) && arg.size() > name.size() &&
      arg[name.size()] == '=') {
    *value = arg.substr(name.size() + 1);
    return true;
  }
  return false;
}

bool IsOption(std::string_view arg, std::string_view name) {
  return IsOption(arg, name, nullptr);
}

}  // namespace

std::optional<uint64_t> ParseWindowId(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c))) {
      digit = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    } else {
      return std::nullopt;
    }
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  if (value == 0 || value > 0xFFFFFFFFu) return std::nullopt;
  return value;
}

LinuxCommand ParseLinuxCommand(const std::vector<std::string_view>& args,
                               std::optional<std::string_view> xscreensaverWindow) {
  LinuxCommand command;
  bool root = false;
  std::optional<uint64_t> windowId;
  std::string letters;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    std::optional<std::string_view> value;
    if (IsOption(arg, "help") || arg == "-h") {
      command.mode = LinuxMode::Help;
      return command;
    }
    if (IsOption(arg, "version")) {
      command.mode = LinuxMode::Version;
      return command;
    }
    size_t next = i;
    switch (flags::TakeOptionFlag(args, &next, &command.optionFlags, &command.error)) {
      case flags::FlagMatch::Taken:
        i = next - 1;
        continue;
      case flags::FlagMatch::Bad:
        command.mode = LinuxMode::BadOptionFlag;
        return command;
      case flags::FlagMatch::NotAFlag:
        break;
    }
    if (IsOption(arg, "root")) {
      root = true;
    } else if (IsOption(arg, "window-id", &value)) {
      if (!value) {
        if (i + 1 >= args.size()) {
          command.mode = LinuxMode::Error;
          command.error = "-window-id needs a window id (decimal or 0x hex)";
          return command;
        }
        value = args[++i];
      }
      windowId = ParseWindowId(*value);
      if (!windowId) {
        command.mode = LinuxMode::Error;
        command.error = "not a window id: \"" + std::string(*value) + "\"";
        return command;
      }
    } else if (IsOption(arg, "window")) {
      command.mode = LinuxMode::OrdinaryWindow;
    } else if (IsOption(arg, "fps")) {
      command.showFrameRate = true;
    } else {
      if (!letters.empty()) letters += ' ';
      letters += arg;
    }
  }
  if (windowId) {
    command.mode = LinuxMode::InWindow;
    command.window = *windowId;
    return command;
  }
  if (command.mode == LinuxMode::OrdinaryWindow) return command;
  // XScreenSaver names its window in the environment; started with -root, or
  // with no screen-saver letter at all, the hack draws there.
  if (root || (xscreensaverWindow && letters.empty())) {
    command.mode = LinuxMode::InWindow;
    command.window = 0;
    if (xscreensaverWindow) {
      const auto given = ParseWindowId(*xscreensaverWindow);
      if (!given) {
        command.mode = LinuxMode::Error;
        command.error =
            "XSCREENSAVER_WINDOW is not a window id: \"" + std::string(*xscreensaverWindow) + "\"";
        return command;
      }
      command.window = *given;
    }
    return command;
  }
  command.mode = LinuxMode::Letters;
  command.letters = letters;
  return command;
}

char ModeLetter(std::string_view letters) {
  for (char c : letters) {
    if (c == ' ' || c == '-' || c == '/') continue;
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return 0;
}

std::string UsageText() {
  return "Usage: grazefall [MODE] [OPTION]...\n"
         "A herd of cows falls down the screen.\n"
         "\n"
         "Screen-saver modes (\"/\" or \"-\", any case):\n"
         "  /s                 run full screen; any key, click or mouse movement ends it\n"
         "  /p ID, /l ID       draw the preview into the X window ID (decimal)\n"
         "  /c, /c:ID, none    open the settings\n"
         "  /a                 change the password (not on this system)\n"
         "\n"
         "XScreenSaver options (one dash or two):\n"
         "  -root              draw in the root window, or in $XSCREENSAVER_WINDOW\n"
         "  -window-id ID      draw in the X window ID (decimal or 0x hex)\n"
         "  -window            draw in an ordinary resizable window\n"
         "  -fps               show the frame rate\n"
         "  --help, --version  print this text, or the version, and exit\n"
         "\n" +
         flags::OptionFlagsHelp() +
         "\n"
         "Tools:\n"
         "  --render DIR --frames N [...]   frames to PNG files (or a GIF), no display; modes\n"
         "                                  and pictures up to 8192x8192 (--render --help)\n"
         "  --ask \"QUESTION\"                 the cow's answer\n"
         "  --print-options [VALUE]         a stored options record\n";
}

}  // namespace grazefall::host
