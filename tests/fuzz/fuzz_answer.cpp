// Any text typed into the Xanadu cow's question box: the cow answers with
// text, or opens the help with none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "conversation/cow_conversation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view question(reinterpret_cast<const char*>(data), size);
  const grazefall::CowAnswer answer = grazefall::answerQuestion(question);
  if (answer.opensHelp != answer.text.empty()) std::abort();
  // Nothing is remembered between questions.
  const grazefall::CowAnswer again = grazefall::answerQuestion(question);
  if (again.opensHelp != answer.opensHelp || again.text != answer.text) std::abort();
  return 0;
}
