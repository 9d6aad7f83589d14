// Entry point of the Linux program: routes the developer and user tools by
// their long option, and everything else to the screen-saver command line.
#include <cstring>

#include "host/linux/commands.h"
#include "host/linux/render/render_command.h"

int main(int argc, char** argv) {
  using namespace grazefall::app;
  if (argc >= 2) {
    const char* first = argv[1];
    if (std::strcmp(first, "--render") == 0) return RunRenderCommand(argc, argv);
    if (std::strcmp(first, "--ask") == 0) return RunAskCommand(argc, argv);
    if (std::strcmp(first, "--print-options") == 0) return RunPrintOptionsCommand(argc, argv);
    if (std::strcmp(first, "--help-page") == 0) return RunHelpPageCommand(argc, argv);
  }
  return RunSaverCommand(argc, argv);
}
