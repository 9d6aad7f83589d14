#include "sheet_edit_replay.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "platform_modes_services.h"
#include "sheet/effects_page.h"
#include "sheet/property_sheet.h"
#include "sheet_edits.h"

namespace wine_test {
namespace {

using namespace grazefall;

// The desktop as the Windows side sees it: the stored background path's
// folder holds `pictures`, and every one of them loads.
class PictureFolderDesktop : public PlatformModesServices {
 public:
  PictureFolderDesktop(platform::Platform& system, std::string folder,
                       std::vector<std::string> pictures)
      : PlatformModesServices(system), folder_(std::move(folder)), pictures_(std::move(pictures)) {}
  // The stored path is a Windows one, which this build does not split: the
  // page lists the program's folder instead, so that is the same folder.
  std::optional<std::string> programDirectory() override { return folder_; }
  std::vector<std::string> listDirectory(std::string_view) override { return pictures_; }
  std::optional<std::string> browseForDirectory(std::string_view) override { return std::nullopt; }
  bool canLoadPicture(std::string_view) override { return true; }
  void openHelp() override {}
  void showMessage(std::string_view text, std::string_view) override {
    std::fprintf(stderr, "sheet message: %.*s\n", static_cast<int>(text.size()), text.data());
  }

 private:
  std::string folder_;
  std::vector<std::string> pictures_;
};

void MoveSlider(PropertySheet& sheet, ControlModel& controls, int32_t slider, int32_t position) {
  controls.setPosition(slider, position);
  sheet.sliderMoved();
}

}  // namespace

int ReplaySheetEdits(platform::HeadlessPlatform& platform, const std::string& modeText,
                     const std::string& pictureFolder, const std::vector<std::string>& pictures) {
  platform.setOfferedModes({ParseModeText(modeText)});
  PictureFolderDesktop desktop(platform, pictureFolder, pictures);
  PropertySheet sheet(desktop, platform.settingsStore());
  sheet.open();
  sheet.command(scenarios_ids::kCustomBanner);
  for (int page = 1; page < kPageCount; ++page) {
    sheet.selectPage(static_cast<size_t>(page));
    ControlModel& controls = sheet.controls(static_cast<size_t>(page));
    for (const SliderEdit& edit : kSliderEdits) {
      if (edit.page != page) continue;
      MoveSlider(sheet, controls, edit.slider, edit.maximum);
      MoveSlider(sheet, controls, edit.slider, edit.minimum);
      for (int32_t step = 1; step <= edit.stepsBack; ++step) {
        MoveSlider(sheet, controls, edit.slider, edit.minimum + step);
      }
    }
    for (const RadioEdit& edit : kRadioEdits) {
      if (edit.page != page) continue;
      for (int32_t button : edit.clicks) {
        for (int32_t member : edit.group) {
          if (member != 0) controls.setChecked(member, member == button);
        }
        sheet.command(button);
      }
    }
    for (const BoxEdit& edit : kBoxEdits) {
      if (edit.page != page) continue;
      for (int click = 0; click < kBoxClicks; ++click) {
        controls.setChecked(edit.box, !controls.isChecked(edit.box));
        sheet.command(edit.box);
      }
    }
    if (page == kEffectsPage) {
      const int32_t mode = controls.findStringExact(effects_ids::kModeList, modeText);
      if (mode < 0) return 1;
      controls.setSelection(effects_ids::kModeList, mode);
      sheet.command(effects_ids::kModeList, kListSelectionChanged);
    }
    if (page == kBackgroundPage) {
      controls.setSelection(background_ids::kFileList,
                            controls.findStringExact(background_ids::kFileList, kPickedPicture));
      sheet.command(background_ids::kFileList, kListSelectionChanged);
    }
    if (page == kXanaduPage) {
      controls.setText(xanadu_ids::kQuestion, kQuestion);
      sheet.command(xanadu_ids::kAsk);
      std::string shown;
      for (char c : controls.text(xanadu_ids::kAnswer))
        shown += c == '\n' ? std::string("\\n") : std::string(1, c);
      std::printf("answer %s\n", shown.c_str());
    }
  }
  sheet.selectPage(kHerdPage);
  return sheet.ok() ? 0 : 1;
}

}  // namespace wine_test
