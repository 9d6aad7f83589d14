// The resource script the Windows build compiles into the sheet's dialog
// templates: the controls the pages rely on have the styles they need.
#include <gtest/gtest.h>

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

TEST(DialogScript, EveryPageTemplateIsWritten) {
  const std::string script = DialogScript();
  for (int32_t id : {116, 117, 152, 173, 153, 138, 136}) {
    EXPECT_NE(script.find(std::to_string(id) + " DIALOGEX 0, 0, "), std::string::npos) << id;
  }
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
