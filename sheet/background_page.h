// The Background page: a .bmp file picked from a directory listing, and
// whether it is shown centred, stretched or not at all. The picked file is
// held aside until the page is left, and kept for the whole sheet.
#pragma once

#include <string>
#include <string_view>

#include "sheet/page_procedure.h"

namespace grazefall {

class BackgroundPage : public PageProcedure {
 public:
  void command(int32_t id, int32_t notifyCode, ControlModel& controls,
               SheetServices& services) override;

  // The full path of the file picked on this page, not yet in activeOptions.
  const std::string& pendingBackgroundPath() const { return pendingBackgroundPath_; }

 protected:
  void fill(ControlModel& controls, SheetServices& services) override;
  void read(ControlModel& controls) override;

 private:
  void pickFile(ControlModel& controls, SheetServices& services);
  void changeDirectory(ControlModel& controls, SheetServices& services);

  std::string pendingBackgroundPath_;
};

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The longest full path the options record holds.
constexpr size_t kMaxBackgroundPathLength = 259;

constexpr std::string_view kChooseDirectoryTitle =
    "Select directory to select background images (bitmaps, .bmp) from.";

// Fills the list with the names of the .bmp files (any case of the ending)
// in `directory`.
void ListBitmapFiles(ControlModel& controls, int32_t listId, std::string_view directory,
                     SheetServices& services);

}  // namespace grazefall
