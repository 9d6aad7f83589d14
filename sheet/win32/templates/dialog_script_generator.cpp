// Writes the settings pages' dialog templates as a resource script, so the
// Windows sheet and the Linux dialog cannot drift apart.
//   dialog_script_generator <output.rc>
#include <cstdio>
#include <string>

#include "sheet/win32/templates/dialog_script.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: dialog_script_generator <output.rc>\n", stderr);
    return 2;
  }
  const std::string script = grazefall::DialogScript();
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(script.data(), 1, script.size(), out) == script.size();
  return std::fclose(out) == 0 && written ? 0 : 1;
}
