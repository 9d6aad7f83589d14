// What the settings pages need from the desktop besides their controls: the
// folder picker, directory listing, picture previews, help, message boxes,
// and the display modes the resolution list offers.
// The toolkit front end implements it; tests fake it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/display_device.h"

namespace grazefall {

class SheetServices {
 public:
  virtual ~SheetServices() = default;

  // The directory of the program's own file, ending in a separator; nullopt
  // when it cannot be found.
  virtual std::optional<std::string> programDirectory() = 0;
  // The names (no directory) of the regular files in `directory`; empty when
  // the directory cannot be read.
  virtual std::vector<std::string> listDirectory(std::string_view directory) = 0;
  // Lets the user pick a folder; nullopt when they cancel.
  virtual std::optional<std::string> browseForDirectory(std::string_view title) = 0;
  // True when the file decodes as a picture the preview can show.
  virtual bool canLoadPicture(std::string_view path) = 0;
  // Opens the program's help at its contents.
  virtual void openHelp() = 0;
  // A modal message box with an OK button.
  virtual void showMessage(std::string_view text, std::string_view caption) = 0;
  // The screen's modes, current and offered; null when the system has no
  // display to ask.
  virtual platform::DisplayModes* displayModes() = 0;
};

// The directory entries that are regular files (or links to them), by name;
// empty for a directory that is missing or unreadable. Never throws.
std::vector<std::string> ListRegularFiles(std::string_view directory);

}  // namespace grazefall
