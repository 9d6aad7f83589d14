// The Windows sheet's desktop services, built over a recording stand-in for
// the Win32 calls (fake_windows/): whose window the help and the folder
// picker belong to, which help command opens the file, the short form of a
// chosen folder, and nothing the shell or GDI handed over left alive.
#include "sheet/win32/win32_sheet_services.h"

#include <gtest/gtest.h>

namespace grazefall::platform::win32 {
namespace {

class Win32SheetServicesTest : public ::testing::Test {
 protected:
  Win32SheetServicesTest() {
    fakeDesk = FakeDesk();
    fakeDesk.parents[page_] = sheet_;
    services_.setPage(page_);
  }

  HWND page_ = reinterpret_cast<HWND>(0x20);
  HWND sheet_ = reinterpret_cast<HWND>(0x10);
  Win32SheetServices services_{nullptr};
};

TEST_F(Win32SheetServicesTest, HelpOpensTheContentsOfTheProgramsHelpFileOverThePage) {
  services_.openHelp();
  ASSERT_EQ(fakeDesk.help.size(), 1u);
  EXPECT_EQ(fakeDesk.help[0].owner, page_);
  EXPECT_EQ(fakeDesk.help[0].text, "C:\\Saver\\Grazefall.hlp");
  EXPECT_EQ(fakeDesk.help[0].command, HELP_CONTENTS);

  services_.showMessage("Too long", "Grazefall");
  ASSERT_EQ(fakeDesk.messages.size(), 1u);
  EXPECT_EQ(fakeDesk.messages[0].owner, sheet_);
}

TEST_F(Win32SheetServicesTest, AChosenFolderComesBackInItsShortForm) {
  fakeDesk.chosenFolder = "C:\\Program Files\\Cow Pictures";
  fakeDesk.shortForms[fakeDesk.chosenFolder] = "C:\\PROGRA~1\\COWPIC~1";
  EXPECT_EQ(services_.browseForDirectory("Pick"), "C:\\PROGRA~1\\COWPIC~1");
  EXPECT_EQ(fakeDesk.browseOwners, (std::vector<HWND>{sheet_}));
  EXPECT_EQ(fakeDesk.itemListsLive, 0);

  // A folder the system cannot shorten comes back as chosen.
  fakeDesk.chosenFolder = "D:\\pictures";
  EXPECT_EQ(services_.browseForDirectory("Pick"), "D:\\pictures");
  fakeDesk.chosenFolder.clear();
  EXPECT_EQ(services_.browseForDirectory("Pick"), std::nullopt);
  EXPECT_EQ(fakeDesk.itemListsLive, 0);
}

TEST_F(Win32SheetServicesTest, CheckingAPictureLeavesNoBitmapBehind) {
  fakeDesk.loadablePictures = {"C:\\cows.bmp"};
  EXPECT_TRUE(services_.canLoadPicture("C:\\cows.bmp"));
  EXPECT_FALSE(services_.canLoadPicture("C:\\notes.txt"));
  EXPECT_EQ(fakeDesk.bitmapsLive, 0);
}

}  // namespace
}  // namespace grazefall::platform::win32
