// The resource script the Windows build compiles into the sheet's dialog
// templates: the controls the pages rely on have the styles they need, and the
// whole script, every position and size in it, matches the reviewed copy in
// golden/dialog_script.rc. After a deliberate layout change, rewrite that copy
// with GRAZEFALL_UPDATE_GOLDEN=1 test_sheet_win32 and review its diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "sheet/page_ids.h"
#include "sheet/win32/templates/dialog_script.h"

namespace grazefall {
namespace {

// The CONTROL line of control `id` in the page of template `templateId`, or
// empty. Ids repeat from page to page, so the page's block is found first.
std::string ControlLineOf(int32_t templateId, int32_t id) {
  std::istringstream script(DialogScript());
  const std::string page = std::to_string(templateId) + " DIALOGEX ";
  const std::string needle = ", " + std::to_string(id) + ", \"";
  bool inPage = false;
  std::string line;
  while (std::getline(script, line)) {
    if (line.find(" DIALOGEX ") != std::string::npos) inPage = line.rfind(page, 0) == 0;
    if (inPage && line.rfind("  CONTROL ", 0) == 0 && line.find(needle) != std::string::npos) {
      return line;
    }
  }
  return {};
}

TEST(DialogScript, MatchesTheReviewedScriptLineForLine) {
  const std::string golden =
      std::string(GRAZEFALL_TEST_SOURCE_DIR) + "/tests/sheet/win32/golden/dialog_script.rc";
  if (std::getenv("GRAZEFALL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(golden, std::ios::binary) << DialogScript();
  }
  std::ifstream reviewed(golden, std::ios::binary);
  ASSERT_TRUE(reviewed) << golden;
  std::istringstream written(DialogScript());
  std::string want;
  std::string got;
  for (int line = 1; std::getline(reviewed, want); ++line) {
    ASSERT_TRUE(std::getline(written, got)) << "script ends before line " << line;
    ASSERT_EQ(got, want) << "line " << line;
  }
  EXPECT_FALSE(std::getline(written, got)) << "script goes on past the reviewed copy: " << got;
}

TEST(DialogScript, TrackbarsShowNoTickMarks) {
  for (const auto& [page, id] : {std::pair{kHerdTemplateId, herd_ids::kHerdSlider},
                                 std::pair{kHerdTemplateId, herd_ids::kSpeedSlider},
                                 std::pair{kWindTemplateId, wind_ids::kPowerSlider}}) {
    const std::string line = ControlLineOf(page, id);
    ASSERT_NE(line.find("msctls_trackbar32"), std::string::npos) << id << ": " << line;
    EXPECT_NE(line.find("TBS_NOTICKS"), std::string::npos) << line;
    EXPECT_EQ(line.find("TBS_AUTOTICKS"), std::string::npos) << line;
  }
}

TEST(DialogScript, TheQuestionBoxIsAMultiLineEditThatScrollsSideways) {
  const std::string line = ControlLineOf(kXanaduTemplateId, xanadu_ids::kQuestion);
  ASSERT_NE(line.find("\"Edit\""), std::string::npos) << line;
  for (const char* style : {"ES_MULTILINE", "ES_AUTOHSCROLL", "WS_BORDER", "WS_TABSTOP"}) {
    EXPECT_NE(line.find(style), std::string::npos) << style << ": " << line;
  }
}

}  // namespace
}  // namespace grazefall
