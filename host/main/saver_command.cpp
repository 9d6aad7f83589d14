#include <cstdio>

#include "host/main/commands.h"

namespace grazefall::app {

int RunSaverCommand(int, char**) {
  std::fputs("grazefall: this command is not built yet\n", stderr);
  return 2;
}

}  // namespace grazefall::app
