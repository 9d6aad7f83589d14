// The desktop services the settings pages use, on Win32: the program's
// folder, FindFirstFileA listings, SHBrowseForFolderA, GDI picture checks,
// WinHelpA and MessageBoxA, and the modes of the platform's display.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/platform.h"
#include "sheet/sheet_services.h"

namespace grazefall::platform::win32 {

constexpr const char* kHelpFileName = "Grazefall.hlp";

class Win32SheetServices : public SheetServices {
 public:
  // The display modes come from `system`'s display; none without one.
  explicit Win32SheetServices(HINSTANCE module, platform::Platform* system = nullptr)
      : module_(module), system_(system) {}

  // The page being worked on: the help file opens for it, and message boxes
  // and the folder picker belong to the sheet that holds it.
  void setPage(HWND page) {
    page_ = page;
    owner_ = GetParent(page);
  }

  std::optional<std::string> programDirectory() override;
  std::vector<std::string> listDirectory(std::string_view directory) override;
  std::optional<std::string> browseForDirectory(std::string_view title) override;
  bool canLoadPicture(std::string_view path) override;
  void openHelp() override;
  void showMessage(std::string_view text, std::string_view caption) override;
  platform::DisplayModes* displayModes() override;

 private:
  HINSTANCE module_;
  platform::Platform* system_;
  // Made on first use, kept while the sheet is open.
  std::unique_ptr<platform::DisplayDevice> display_;
  HWND page_ = nullptr;
  HWND owner_ = nullptr;
};

}  // namespace grazefall::platform::win32
