// grazefall --help-page: where the settings dialog's Help button finds its
// page, so an install can be checked without opening a window.
#include <cstdio>

#include "host/linux/commands.h"
#include "sheet/qt/help_location.h"

namespace grazefall::app {

int RunHelpPageCommand(int argc, char**) {
  if (argc > 2) {
    std::fputs("usage: grazefall --help-page\n", stderr);
    return 2;
  }
  const QString page = qtui::FindHelpFile();
  if (page.isEmpty()) {
    std::fputs("grazefall: the help page is in none of its places\n", stderr);
    return 1;
  }
  std::printf("%s\n", page.toLocal8Bit().constData());
  return 0;
}

}  // namespace grazefall::app
