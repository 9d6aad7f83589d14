#include "sheet/background_page.h"

#include <algorithm>
#include <cstring>

#include "options/options.h"
#include "sheet/page_ids.h"

namespace grazefall {
namespace {

using namespace background_ids;

constexpr size_t kFirstSeparatorIndex = kPathSeparator == '/' ? 0 : 1;

void PreviewFile(ControlModel& controls, std::string_view path, SheetServices& services) {
  // A file that does not load leaves the preview as it was.
  if (!path.empty() && services.canLoadPicture(path)) controls.setPictureFile(kPreview, path);
}

void PreviewResource(ControlModel& controls, int32_t resourceId) {
  controls.setPicture(kPreview, resourceId);
}

void EnableFileChoice(ControlModel& controls, bool enabled) {
  controls.setEnabled(kFileList, enabled);
  controls.setEnabled(kChangeDirectory, enabled);
}

}  // namespace

void ListBitmapFiles(ControlModel& controls, int32_t listId, std::string_view directory,
                     SheetServices& services) {
  controls.resetContent(listId);
  if (directory.empty()) return;
  for (const std::string& name : services.listDirectory(directory)) {
    if (LowerAscii(name).ends_with(".bmp")) controls.addString(listId, name);
  }
}

void BackgroundPage::fill(ControlModel& controls, SheetServices& services) {
  const std::string stored(BackgroundPathOf(activeOptions));

  // The directory is everything up to the last separator; a path without one
  // chooses no file and lists the program's own directory. A drive letter
  // comes first on Windows, so its search stops at the second character; a
  // POSIX root separator is the first.
  std::string directory;
  std::string fileName;
  bool hasDirectory = false;
  for (size_t i = stored.size(); i-- > kFirstSeparatorIndex;) {
    if (stored[i] == kPathSeparator) {
      directory = stored.substr(0, i + 1);
      fileName = stored.substr(i + 1);
      hasDirectory = true;
      break;
    }
  }
  if (!hasDirectory) directory = services.programDirectory().value_or(std::string());

  ListBitmapFiles(controls, kFileList, directory, services);
  controls.setText(kDirectoryLabel, directory);

  if (!stored.empty() && !fileName.empty()) {
    controls.setSelection(kFileList, controls.findStringExact(kFileList, fileName));
    controls.setText(kFileNameLabel, fileName);
    PreviewFile(controls, stored, services);
  } else {
    PreviewResource(controls, kDefaultPreviewPicture);
  }
  // What the page writes back when left: the stored path until the user
  // picks another file, so a visit alone never loses it, even a path this
  // page cannot show (no folder part, or no file name).
  if (!stored.empty()) pendingBackgroundPath_ = stored;

  if (activeOptions.backgroundMode == 0) {
    EnableFileChoice(controls, false);
    PreviewResource(controls, kDefaultPreviewPicture);
  }

  controls.setChecked(kNoBackground, false);
  controls.setChecked(kCenter, false);
  controls.setChecked(kStretch, false);
  if (activeOptions.backgroundMode == 1) {
    controls.setChecked(kCenter, true);
  } else if (activeOptions.backgroundMode == 2) {
    controls.setChecked(kStretch, true);
  } else {
    controls.setChecked(kNoBackground, true);
  }
}

void BackgroundPage::read(ControlModel& controls) {
  std::memset(activeOptions.backgroundPath, 0, kBackgroundPathSize);
  const size_t length = std::min(pendingBackgroundPath_.size(), kMaxBackgroundPathLength);
  std::memcpy(activeOptions.backgroundPath, pendingBackgroundPath_.data(), length);
  if (controls.isChecked(kCenter)) {
    activeOptions.backgroundMode = 1;
  } else if (controls.isChecked(kStretch)) {
    activeOptions.backgroundMode = 2;
  } else {
    activeOptions.backgroundMode = 0;
  }
}

void BackgroundPage::command(int32_t id, int32_t notifyCode, ControlModel& controls,
                             SheetServices& services) {
  switch (id) {
    case kFileList:
      if (notifyCode == kListSelectionChanged) pickFile(controls, services);
      break;
    case kChangeDirectory:
      changeDirectory(controls, services);
      break;
    case kNoBackground:
      EnableFileChoice(controls, false);
      PreviewResource(controls, kDefaultPreviewPicture);
      break;
    case kCenter:
    case kStretch:
      EnableFileChoice(controls, true);
      PreviewFile(controls, pendingBackgroundPath_, services);
      break;
    default:
      break;
  }
}

void BackgroundPage::pickFile(ControlModel& controls, SheetServices& services) {
  const std::string name = controls.selectedText(kFileList);
  if (name.empty()) return;
  const std::string path = controls.text(kDirectoryLabel) + name;
  // A path the options record cannot hold whole is not taken: cut short it
  // would name another file.
  if (path.size() > kMaxBackgroundPathLength) return;
  controls.setText(kFileNameLabel, name);
  PreviewFile(controls, path, services);
  pendingBackgroundPath_ = path;
}

void BackgroundPage::changeDirectory(ControlModel& controls, SheetServices& services) {
  std::optional<std::string> chosen = services.browseForDirectory(kChooseDirectoryTitle);
  if (!chosen || chosen->empty()) return;
  std::string directory = *chosen;
  if (directory.back() != kPathSeparator) directory += kPathSeparator;
  controls.setText(kDirectoryLabel, directory);
  ListBitmapFiles(controls, kFileList, directory, services);
}

}  // namespace grazefall
