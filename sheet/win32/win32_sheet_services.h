// The desktop services the settings pages use, on Win32: the program's
// folder, FindFirstFileA listings, SHBrowseForFolderA, GDI picture checks,
// WinHelpA and MessageBoxA.
#pragma once

#include <windows.h>

#include "sheet/sheet_services.h"

namespace grazefall::platform::win32 {

constexpr const char* kHelpFileName = "Grazefall.hlp";

class Win32SheetServices : public SheetServices {
 public:
  explicit Win32SheetServices(HINSTANCE module) : module_(module) {}

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

 private:
  HINSTANCE module_;
  HWND page_ = nullptr;
  HWND owner_ = nullptr;
};

}  // namespace grazefall::platform::win32
