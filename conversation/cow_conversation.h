// The Xanadu cow: answers a typed question by keyword matching, in two
// stages. The first looks at the opening word (and, for "what", "who" and
// "where", at keywords anywhere); a provisional answer then goes to the
// second stage, which looks anywhere in the question for help requests and
// for the names of settings. Nothing is remembered between questions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace grazefall {

// What the question box holds at most; longer questions are cut, as the box
// would cut them.
constexpr size_t kQuestionBoxLength = 199;

// What the answer field shows before the first question.
constexpr std::string_view kCowIntroduction =
    "Ask me a question and I shall answer?\n\nYou can ask me for help with the different "
    "settings if you want (enter it's name or something).";

struct CowAnswer {
  // True when the cow opens the help instead of answering; `text` is empty then.
  bool opensHelp = false;
  std::string text;
};

CowAnswer answerQuestion(std::string_view question);

}  // namespace grazefall
