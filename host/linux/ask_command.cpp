// grazefall --ask "QUESTION": the Xanadu cow's answer on standard output.
#include <cstdio>
#include <string>

#include "conversation/cow_conversation.h"
#include "host/linux/commands.h"

namespace grazefall::app {

int RunAskCommand(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: grazefall --ask \"QUESTION\"\n", stderr);
    return 2;
  }
  // Words given without quotes make one question, as if typed with spaces.
  std::string question = argv[2];
  for (int i = 3; i < argc; ++i) {
    question += ' ';
    question += argv[i];
  }
  const CowAnswer answer = answerQuestion(question);
  const std::string& shown = answer.opensHelp ? std::string("(opens the help)") : answer.text;
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}

}  // namespace grazefall::app
