// Writes a settings store the saver starts from, for scripts that run the
// saver in a chosen scenario and display mode:
//   store_options_tool <directory> <Classic|Invasion|Halloween|Custom> <W>x<H>x<D>
// stores the four scenario records and, as "Options", the named one with the
// mode put into its resolution fields.
#include <cstdio>
#include <cstring>
#include <string>

#include "options/options.h"
#include "options/options_store.h"
#include "platform/headless/headless_platform.h"
#include "platform/linux/directory_settings_store.h"
#include "tests/support/first_run_records.h"

namespace {

using namespace grazefall;

class DirectoryStorePlatform : public platform::HeadlessPlatform {
 public:
  explicit DirectoryStorePlatform(std::string directory) : store_(std::move(directory)) {}
  platform::SettingsStore& settingsStore() override { return store_; }

 private:
  platform::DirectorySettingsStore store_;
};

const ScenarioOptions* PresetNamed(const char* name) {
  if (std::strcmp(name, "Classic") == 0) return &classicPreset;
  if (std::strcmp(name, "Invasion") == 0) return &invasionPreset;
  if (std::strcmp(name, "Halloween") == 0) return &halloweenPreset;
  if (std::strcmp(name, "Custom") == 0) return &customPreset;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const ScenarioOptions* preset = argc == 4 ? PresetNamed(argv[2]) : nullptr;
  int width = 0;
  int height = 0;
  int depth = 0;
  if (preset == nullptr || std::sscanf(argv[3], "%dx%dx%d", &width, &height, &depth) != 3) {
    std::fputs("usage: store_options_tool <directory> <Classic|Invasion|Halloween|Custom> WxHxD\n",
               stderr);
    return 2;
  }
  DirectoryStorePlatform storePlatform(argv[1]);
  ScenarioOptions active = *preset;
  active.screenWidth = width;
  active.screenHeight = height;
  active.screenBitDepth = depth;
  const bool written = testing::StoreFirstRunRecords(storePlatform.settingsStore(), active);
  if (!written) std::fprintf(stderr, "store_options_tool: cannot write to %s\n", argv[1]);
  return written ? 0 : 1;
}
