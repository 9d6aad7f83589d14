#include "sheet/xanadu_page.h"

#include "conversation/cow_conversation.h"
#include "sheet/page_ids.h"

namespace grazefall {

std::string CutQuestion(std::string_view question, size_t limit) {
  if (question.size() <= limit) return std::string(question);
  size_t length = limit;
  // Step back over continuation bytes so a character is never split.
  while (length > 0 && (static_cast<unsigned char>(question[length]) & 0xC0) == 0x80) --length;
  return std::string(question.substr(0, length));
}

void XanaduPage::command(int32_t id, int32_t /*notifyCode*/, ControlModel& controls,
                         SheetServices& services) {
  using namespace xanadu_ids;
  if (id != kAsk) return;
  controls.setText(kAnswer, "");
  const CowAnswer answer =
      answerQuestion(CutQuestion(controls.text(kQuestion), static_cast<size_t>(kQuestionLimit)));
  if (answer.opensHelp) {
    services.openHelp();
  } else {
    controls.setText(kAnswer, answer.text);
  }
}

}  // namespace grazefall
