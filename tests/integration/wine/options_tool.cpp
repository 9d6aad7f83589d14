// The Linux side of the Windows configuration test: writes the stored values
// a test seeds both systems with, and runs the same sheet steps on Linux, with
// the Linux settings store, so the test can compare the Windows "Options"
// value with the Linux one byte for byte.
//   options_tool seed <directory> [<background path>]
//       the five values of a first-run store (Classic active at 800 x 600 x 16;
//       with a path, its picture centred)
//   options_tool click-ok <directory> <control id>
//       opens the sheet over the store in <directory>, clicks the control on
//       the first page, presses OK
//   options_tool edit-ok <directory> <mode> <picture folder> <picture>...
//       makes the edits of sheet_edits.h (see sheet_edit_replay.h), presses OK
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "options/options.h"
#include "options/options_store.h"
#include "platform/headless/headless_platform.h"
#include "platform/linux/directory_settings_store.h"
#include "platform_modes_services.h"
#include "sheet/property_sheet.h"
#include "sheet_edit_replay.h"
#include "tests/support/first_run_records.h"

namespace {

using namespace grazefall;

// The headless display and clock with the Linux settings directory.
class LinuxStorePlatform : public platform::HeadlessPlatform {
 public:
  explicit LinuxStorePlatform(std::string directory) : store_(std::move(directory)) {}
  platform::SettingsStore& settingsStore() override { return store_; }

 private:
  platform::DirectorySettingsStore store_;
};

// The sheet's desktop services, for a sheet nobody looks at.
class NoDesktop : public wine_test::PlatformModesServices {
 public:
  using PlatformModesServices::PlatformModesServices;
  std::optional<std::string> programDirectory() override { return std::nullopt; }
  std::vector<std::string> listDirectory(std::string_view) override { return {}; }
  std::optional<std::string> browseForDirectory(std::string_view) override { return std::nullopt; }
  bool canLoadPicture(std::string_view) override { return false; }
  void openHelp() override {}
  void showMessage(std::string_view, std::string_view) override {}
};

int Seed(platform::Platform& system, const char* backgroundPath) {
  ScenarioOptions active = classicPreset;
  active.screenWidth = 800;
  active.screenHeight = 600;
  active.screenBitDepth = 16;
  if (backgroundPath != nullptr) {
    if (std::strlen(backgroundPath) >= kBackgroundPathSize) return 1;
    std::memset(active.backgroundPath, 0, kBackgroundPathSize);
    std::memcpy(active.backgroundPath, backgroundPath, std::strlen(backgroundPath));
    active.backgroundMode = 1;
  }
  const bool written = testing::StoreFirstRunRecords(system.settingsStore(), active);
  return written ? 0 : 1;
}

int ClickOk(platform::Platform& system, int32_t controlId) {
  NoDesktop desktop(system);
  PropertySheet sheet(desktop, system.settingsStore());
  sheet.open();
  sheet.command(controlId);
  sheet.ok();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs(
        "usage: options_tool seed <dir> [<background>] | click-ok <dir> <control id> |\n"
        "       edit-ok <dir> <mode> <picture folder> <picture>...\n",
        stderr);
    return 2;
  }
  LinuxStorePlatform linuxPlatform(argv[2]);
  const std::string command = argv[1];
  if (command == "seed" && (argc == 3 || argc == 4)) {
    return Seed(linuxPlatform, argc == 4 ? argv[3] : nullptr);
  }
  if (command == "click-ok" && argc == 4) return ClickOk(linuxPlatform, std::atoi(argv[3]));
  if (command == "edit-ok" && argc >= 6) {
    return wine_test::ReplaySheetEdits(linuxPlatform, argv[3], argv[4],
                                       std::vector<std::string>(argv + 5, argv + argc));
  }
  return 2;
}
