// The Meaning of Liff game and the Xanadu page's question box.
#include <gtest/gtest.h>

#include "conversation/cow_conversation.h"
#include "sheet/page_ids.h"
#include "sheet/xanadu_page.h"
#include "tests/sheet/page_test_support.h"

namespace grazefall::page_testing {
namespace {

using namespace liff_ids;

class LiffPageTest : public SheetTest {
 protected:
  PropertySheet& openOnLiff() {
    storeOptions(classicPreset);
    PropertySheet& sheet = openSheet();
    sheet.selectPage(kLiffPage);
    return sheet;
  }
  int portraitsShown() {
    int shown = 0;
    for (int32_t id : {kPortrait1, kPortrait2, kPortrait3, kPortrait4, kPortrait5, kPortrait6}) {
      shown += page(kLiffPage).isShown(id);
    }
    return shown;
  }
};

TEST_F(LiffPageTest, ThePinkCowAppearsOnTheClickThatFindsTheSixthCow) {
  PropertySheet& sheet = openOnLiff();
  const std::vector<int32_t> clicks{kHiddenCow5,   kHiddenCow2, kHiddenCow5, kHiddenCow6,
                                    kQuestionMark, kHiddenCow1, kHiddenCow2, kHiddenCow4};
  for (int32_t id : clicks) sheet.command(id);
  EXPECT_EQ(portraitsShown(), 5);
  EXPECT_TRUE(page(kLiffPage).isShown(kPortrait5));
  EXPECT_FALSE(page(kLiffPage).isShown(kPortrait3));
  EXPECT_FALSE(page(kLiffPage).isShown(kPinkCow));

  // Hidden pictures cannot be clicked.
  sheet.command(kPinkCow);
  EXPECT_FALSE(page(kLiffPage).isShown(kAnswerPicture));

  sheet.command(kHiddenCow3);
  EXPECT_EQ(portraitsShown(), 6);
  EXPECT_TRUE(page(kLiffPage).isShown(kPinkCow));
  EXPECT_TRUE(page(kLiffPage).isShown(kHiddenCow3));
}

TEST_F(LiffPageTest, TheQuestionMarkCyclesThroughTheClueAndBack) {
  PropertySheet& sheet = openOnLiff();
  ControlModel& liff = page(kLiffPage);
  auto left = [&] {
    return std::vector<bool>{liff.isShown(kQuestionMark), liff.isShown(kClueUpsideDown),
                             liff.isShown(kClueUpright), liff.isShown(kAnswerPicture)};
  };
  EXPECT_EQ(left(), (std::vector<bool>{true, false, false, false}));
  sheet.command(kQuestionMark);
  EXPECT_EQ(left(), (std::vector<bool>{false, true, false, false}));
  sheet.command(kClueUpsideDown);
  EXPECT_EQ(left(), (std::vector<bool>{false, false, true, false}));
  sheet.command(kClueUpright);
  EXPECT_EQ(left(), (std::vector<bool>{true, false, false, false}));
}

TEST_F(LiffPageTest, ThePinkCowShowsTheAnswerOverTheClueAndTheGameSurvivesLeaving) {
  PropertySheet& sheet = openOnLiff();
  for (int32_t id : {kHiddenCow1, kHiddenCow2, kHiddenCow3}) sheet.command(id);
  sheet.selectPage(kScenariosPage);
  sheet.selectPage(kLiffPage);
  EXPECT_EQ(portraitsShown(), 3);

  for (int32_t id : {kHiddenCow4, kHiddenCow5, kHiddenCow6, kQuestionMark, kClueUpsideDown}) {
    sheet.command(id);
  }
  ControlModel& liff = page(kLiffPage);
  EXPECT_TRUE(liff.isShown(kClueUpright));
  sheet.command(kPinkCow);
  EXPECT_TRUE(liff.isShown(kAnswerPicture));
  EXPECT_FALSE(liff.isShown(kClueUpright));
  EXPECT_FALSE(liff.isShown(kClueUpsideDown));
  EXPECT_FALSE(liff.isShown(kQuestionMark));
  // Solved: the clue cycle cannot start again.
  sheet.command(kQuestionMark);
  EXPECT_FALSE(liff.isShown(kClueUpsideDown));
  // The game stores nothing.
  EXPECT_EQ(std::memcmp(&activeOptions, &classicPreset, kOptionsRecordSize - 16), 0);
}

class XanaduPageTest : public SheetTest {};

TEST_F(XanaduPageTest, AskReplacesTheAnswerAndAHelpRequestOpensHelp) {
  using namespace xanadu_ids;
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kXanaduPage);
  ControlModel& xanadu = page(kXanaduPage);
  const std::string introduction = xanadu.text(kAnswer);
  EXPECT_NE(introduction.find("Ask me a question"), std::string::npos);

  xanadu.setText(kQuestion, "");
  sheet.command(kAsk);
  EXPECT_EQ(xanadu.text(kAnswer), "*mumbles* can't hear you, give me a question!");

  xanadu.setText(kQuestion, "moo");
  sheet.command(kAsk);
  EXPECT_EQ(xanadu.text(kAnswer), answerQuestion("moo").text);
  EXPECT_EQ(services_.helpOpened, 0);

  // Asked for help, the cow opens the help file and says nothing.
  ASSERT_TRUE(answerQuestion("help me").opensHelp);
  xanadu.setText(kQuestion, "help me");
  sheet.command(kAsk);
  EXPECT_EQ(services_.helpOpened, 1);
  EXPECT_EQ(xanadu.text(kAnswer), "");
}

TEST_F(XanaduPageTest, AVeryLongQuestionIsCutToTheBox) {
  using namespace xanadu_ids;
  storeOptions(classicPreset);
  PropertySheet& sheet = openSheet();
  sheet.selectPage(kXanaduPage);
  ControlModel& xanadu = page(kXanaduPage);
  const std::string longQuestion = "why " + std::string(9996, 'o');
  xanadu.setText(kQuestion, longQuestion);
  sheet.command(kAsk);
  EXPECT_EQ(xanadu.text(kAnswer), answerQuestion(longQuestion.substr(0, kQuestionLimit)).text);

  EXPECT_EQ(CutQuestion(std::string(10000, 'q'), 199).size(), 199u);
  // Never ends inside a character: a two-byte letter straddling the limit
  // is left out whole.
  const std::string accented = std::string(198, 'a') + "\xC3\xA9" + "b";
  EXPECT_EQ(CutQuestion(accented, 199), std::string(198, 'a'));
  EXPECT_EQ(CutQuestion("short", 199), "short");
}

}  // namespace
}  // namespace grazefall::page_testing
