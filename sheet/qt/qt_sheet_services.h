// The settings pages' desk services with Qt: the native folder picker, the
// file system, picture decoding, message boxes and the help page in the
// user's browser.
#pragma once

#include <QWidget>

#include "sheet/qt/screen_modes.h"
#include "sheet/sheet_services.h"

namespace grazefall::qtui {

class QtSheetServices : public SheetServices {
 public:
  // Dialogs the services open belong to `owner` (may be null).
  void setOwner(QWidget* owner) { owner_ = owner; }

  std::optional<std::string> programDirectory() override;
  std::vector<std::string> listDirectory(std::string_view directory) override;
  std::optional<std::string> browseForDirectory(std::string_view title) override;
  bool canLoadPicture(std::string_view path) override;
  void openHelp() override;
  void showMessage(std::string_view text, std::string_view caption) override;
  // The primary screen's modes; null while there is no screen.
  platform::DisplayModes* displayModes() override;

 private:
  QWidget* owner_ = nullptr;
  ScreenModes screenModes_;
};

}  // namespace grazefall::qtui
