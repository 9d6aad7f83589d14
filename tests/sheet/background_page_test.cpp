// The Background page: which directory is listed, what the list holds, the
// picked file held aside until the page is left, and the mode buttons.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sheet/background_page.h"
#include "sheet/page_ids.h"
#include "tests/sheet/page_test_support.h"

namespace grazefall::page_testing {
namespace {

using namespace background_ids;
namespace fs = std::filesystem;

class BackgroundPageTest : public SheetTest {
 protected:
  BackgroundPageTest() {
    directory_ = fs::temp_directory_path() /
                 ("grazefall-background-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(directory_);
    services_.useRealFileSystem = true;
  }
  ~BackgroundPageTest() override {
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
  }
  void touch(const std::string& name) { std::ofstream(directory_ / name) << "x"; }
  std::string dir() const { return directory_.string() + "/"; }

  PropertySheet& openOnBackground(const ScenarioOptions& options) {
    storeOptions(options);
    PropertySheet& sheet = openSheet();
    sheet.selectPage(kBackgroundPage);
    return sheet;
  }

  fs::path directory_;
};

TEST_F(BackgroundPageTest, ListsOnlyBitmapsInAnyCaseSortedWithoutRegardToCase) {
  touch("zebra.bmp");
  touch("Apple.BMP");
  touch("notes.txt");
  touch("mango.Bmp");
  touch("bmp");
  fs::create_directory(directory_ / "folder.bmp");
  ScenarioOptions options = classicPreset;
  SetBackgroundPath(options, dir() + "mango.Bmp");
  options.backgroundMode = 1;
  openOnBackground(options);
  ControlModel& background = page(kBackgroundPage);
  EXPECT_EQ(background.at(kFileList).entries,
            (std::vector<std::string>{"Apple.BMP", "mango.Bmp", "zebra.bmp"}));
  EXPECT_EQ(background.text(kDirectoryLabel), dir());
  EXPECT_EQ(background.selectedText(kFileList), "mango.Bmp");
  EXPECT_EQ(background.text(kFileNameLabel), "mango.Bmp");
  EXPECT_TRUE(background.isChecked(kCenter));
  EXPECT_TRUE(background.isEnabled(kFileList));
}

TEST_F(BackgroundPageTest, EmptyPathListsTheProgramDirectoryWithNothingChosen) {
  touch("cows.bmp");
  services_.programDir = dir();
  openOnBackground(classicPreset);
  ControlModel& background = page(kBackgroundPage);
  EXPECT_EQ(background.text(kDirectoryLabel), dir());
  EXPECT_EQ(background.at(kFileList).entries, (std::vector<std::string>{"cows.bmp"}));
  EXPECT_EQ(background.selection(kFileList), -1);
  EXPECT_EQ(background.at(kPreview).pictureId, kDefaultPreviewPicture);
  EXPECT_TRUE(background.isChecked(kNoBackground));
  EXPECT_FALSE(background.isEnabled(kFileList));
  EXPECT_FALSE(background.isEnabled(kChangeDirectory));
}

TEST_F(BackgroundPageTest, PickingCenterThenAFileStoresItsPathAndMode) {
  touch("field.bmp");
  services_.programDir = dir();
  services_.loadablePictures = {dir() + "field.bmp"};
  PropertySheet& sheet = openOnBackground(classicPreset);
  ControlModel& background = page(kBackgroundPage);

  background.setChecked(kNoBackground, false);
  background.setChecked(kCenter, true);
  sheet.command(kCenter);
  EXPECT_TRUE(background.isEnabled(kFileList));
  background.setSelection(kFileList, 0);
  sheet.command(kFileList, kListSelectionChanged);
  EXPECT_EQ(background.text(kFileNameLabel), "field.bmp");
  EXPECT_EQ(background.at(kPreview).pictureFile, dir() + "field.bmp");
  // Held aside until the page is left.
  EXPECT_EQ(BackgroundPathOf(activeOptions), "");

  sheet.ok();
  const ScenarioOptions saved = StoredOptions(platform_.memoryStore, "Options");
  EXPECT_EQ(BackgroundPathOf(saved), dir() + "field.bmp");
  EXPECT_EQ(saved.backgroundMode, 1);
}

TEST_F(BackgroundPageTest, NoBackgroundKeepsThePickedPathForLater) {
  touch("field.bmp");
  services_.loadablePictures = {dir() + "field.bmp"};
  ScenarioOptions options = classicPreset;
  SetBackgroundPath(options, dir() + "field.bmp");
  options.backgroundMode = 2;
  PropertySheet& sheet = openOnBackground(options);
  ControlModel& background = page(kBackgroundPage);
  EXPECT_EQ(background.at(kPreview).pictureFile, dir() + "field.bmp");

  background.setChecked(kStretch, false);
  background.setChecked(kNoBackground, true);
  sheet.command(kNoBackground);
  EXPECT_EQ(background.at(kPreview).pictureId, kDefaultPreviewPicture);
  EXPECT_TRUE(background.at(kPreview).pictureFile.empty());
  EXPECT_FALSE(background.isEnabled(kChangeDirectory));

  sheet.selectPage(kXanaduPage);
  EXPECT_EQ(BackgroundPathOf(activeOptions), dir() + "field.bmp");
  EXPECT_EQ(activeOptions.backgroundMode, 0);

  // Back to Stretch offers the same file again.
  sheet.selectPage(kBackgroundPage);
  background.setChecked(kNoBackground, false);
  background.setChecked(kStretch, true);
  sheet.command(kStretch);
  EXPECT_EQ(background.at(kPreview).pictureFile, dir() + "field.bmp");
}

TEST_F(BackgroundPageTest, AVanishedDirectoryListsNothingAndKeepsTheChoice) {
  ScenarioOptions options = classicPreset;
  SetBackgroundPath(options, dir() + "gone/meadow.bmp");
  options.backgroundMode = 1;
  PropertySheet& sheet = openOnBackground(options);
  ControlModel& background = page(kBackgroundPage);
  EXPECT_TRUE(background.at(kFileList).entries.empty());
  EXPECT_EQ(background.text(kFileNameLabel), "meadow.bmp");
  EXPECT_EQ(background.at(kPreview).pictureId, 0);  // no picture to show
  sheet.ok();
  EXPECT_EQ(BackgroundPathOf(StoredOptions(platform_.memoryStore, "Options")),
            dir() + "gone/meadow.bmp");
}

TEST_F(BackgroundPageTest, AFileInTheRootDirectoryListsTheRoot) {
  services_.useRealFileSystem = false;
  services_.directories = {{"/", {"root.bmp", "other.txt"}}};
  ScenarioOptions options = classicPreset;
  SetBackgroundPath(options, "/root.bmp");
  options.backgroundMode = 1;
  openOnBackground(options);
  EXPECT_EQ(page(kBackgroundPage).text(kDirectoryLabel), "/");
  EXPECT_EQ(page(kBackgroundPage).selectedText(kFileList), "root.bmp");
}

TEST_F(BackgroundPageTest, APathWithoutADirectoryPartChoosesNoFile) {
  services_.useRealFileSystem = false;
  services_.directories = {{"/opt/grazefall/", {"a.bmp"}}};
  ScenarioOptions options = classicPreset;
  SetBackgroundPath(options, "loose.bmp");
  options.backgroundMode = 1;
  PropertySheet& sheet = openOnBackground(options);
  ControlModel& background = page(kBackgroundPage);
  EXPECT_EQ(background.text(kDirectoryLabel), "/opt/grazefall/");
  EXPECT_EQ(background.text(kFileNameLabel), "");
  EXPECT_EQ(background.selection(kFileList), -1);
  EXPECT_EQ(background.at(kPreview).pictureId, kDefaultPreviewPicture);

  // Only looked at: leaving the page and OK keep the stored path.
  sheet.selectPage(kXanaduPage);
  EXPECT_EQ(BackgroundPathOf(activeOptions), "loose.bmp");
  sheet.ok();
  EXPECT_EQ(BackgroundPathOf(StoredOptions(platform_.memoryStore, "Options")), "loose.bmp");
}

TEST_F(BackgroundPageTest, AStoredFolderWithoutAFileSurvivesAVisit) {
  services_.useRealFileSystem = false;
  services_.directories = {{"/srv/pictures/", {"a.bmp"}}};
  ScenarioOptions options = classicPreset;
  SetBackgroundPath(options, "/srv/pictures/");
  options.backgroundMode = 2;
  PropertySheet& sheet = openOnBackground(options);
  ControlModel& background = page(kBackgroundPage);
  EXPECT_EQ(background.text(kDirectoryLabel), "/srv/pictures/");
  EXPECT_EQ(background.selection(kFileList), -1);
  sheet.ok();
  const ScenarioOptions saved = StoredOptions(platform_.memoryStore, "Options");
  EXPECT_EQ(BackgroundPathOf(saved), "/srv/pictures/");
  EXPECT_EQ(saved.backgroundMode, 2);
}

TEST_F(BackgroundPageTest, ChangeDirectoryListsTheNewFolderButKeepsTheChoice) {
  services_.useRealFileSystem = false;
  services_.directories = {
      {"/a/", {"one.bmp"}}, {"/b/", {"two.bmp", "three.BMP"}}, {"/", {"r.bmp"}}};
  ScenarioOptions options = classicPreset;
  SetBackgroundPath(options, "/a/one.bmp");
  options.backgroundMode = 1;
  PropertySheet& sheet = openOnBackground(options);
  ControlModel& background = page(kBackgroundPage);

  services_.nextBrowse = std::nullopt;  // cancelled
  sheet.command(kChangeDirectory);
  EXPECT_EQ(background.text(kDirectoryLabel), "/a/");
  EXPECT_EQ(services_.browseTitles.back(), kChooseDirectoryTitle);

  services_.nextBrowse = "/b";
  sheet.command(kChangeDirectory);
  EXPECT_EQ(background.text(kDirectoryLabel), "/b/");
  EXPECT_EQ(background.at(kFileList).entries, (std::vector<std::string>{"three.BMP", "two.bmp"}));
  EXPECT_EQ(background.text(kFileNameLabel), "one.bmp");

  services_.nextBrowse = "/";  // already ends in a separator
  sheet.command(kChangeDirectory);
  EXPECT_EQ(background.text(kDirectoryLabel), "/");
  background.setSelection(kFileList, 0);
  sheet.command(kFileList, kListSelectionChanged);
  sheet.ok();
  EXPECT_EQ(BackgroundPathOf(StoredOptions(platform_.memoryStore, "Options")), "/r.bmp");
}

TEST_F(BackgroundPageTest, APathTooLongForTheRecordIsNotTaken) {
  services_.useRealFileSystem = false;
  const std::string deep = "/" + std::string(250, 'd') + "/";
  services_.directories = {{deep, {"long-name-picture.bmp"}}};
  services_.nextBrowse = deep;
  ScenarioOptions options = classicPreset;
  options.backgroundMode = 1;
  PropertySheet& sheet = openOnBackground(options);
  sheet.command(kChangeDirectory);
  page(kBackgroundPage).setSelection(kFileList, 0);
  sheet.command(kFileList, kListSelectionChanged);
  EXPECT_EQ(page(kBackgroundPage).text(kFileNameLabel), "");
  sheet.ok();
  EXPECT_EQ(BackgroundPathOf(StoredOptions(platform_.memoryStore, "Options")), "");
}

TEST_F(BackgroundPageTest, AnUnterminatedPathIsReadWithinItsField) {
  services_.useRealFileSystem = false;
  ScenarioOptions options = classicPreset;
  std::memset(options.backgroundPath, 'p', kBackgroundPathSize);
  options.backgroundPath[0] = '/';
  options.backgroundPath[100] = '/';
  options.backgroundMode = 7;
  PropertySheet& sheet = openOnBackground(options);
  ControlModel& background = page(kBackgroundPage);
  EXPECT_EQ(background.text(kFileNameLabel).size(), kBackgroundPathSize - 101);
  EXPECT_TRUE(background.isChecked(kNoBackground));
  sheet.ok();
  const ScenarioOptions saved = StoredOptions(platform_.memoryStore, "Options");
  EXPECT_EQ(saved.backgroundPath[kBackgroundPathSize - 1], '\0');
  EXPECT_EQ(saved.backgroundMode, 0);
}

}  // namespace
}  // namespace grazefall::page_testing
