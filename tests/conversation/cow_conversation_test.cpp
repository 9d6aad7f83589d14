#include "conversation/cow_conversation.h"

#include <gtest/gtest.h>

#include <string>

namespace grazefall {
namespace {

const std::string kUnknownLanguage =
    "I don't speak that language I'm afraid (or perhaps I do but didn't recognize it, my english "
    "is quite limited I'm afraid), could you perhaps try speaking like a cow?";
const std::string kWindPower =
    "The wind power setting found on the Wind tab controls the strength of the wind that blows on "
    "the cow. 10 is a very very strong wind.";
const std::string kHerdSize =
    "This settings found under Herd allows you to specify how large you wish the herd of cows "
    "that rain down the screen to be.";
const std::string kCowAnswer =
    "The ones that go moo! Some are black and white spotted. Some tip over in the wind. Some are "
    "made of cheramic and walk around in Chicago, not Drummel's though :(";

std::string Echo(char sound) {
  std::string echo = "I can make that sound too! Listen: *";
  for (int i = 0; i < 50; ++i) echo += std::string(1, sound) + " ";
  return echo + "*";
}

std::string Answer(std::string_view question) {
  const CowAnswer answer = answerQuestion(question);
  EXPECT_FALSE(answer.opensHelp) << "question: " << question;
  return answer.text;
}

bool OpensHelp(std::string_view question) {
  const CowAnswer answer = answerQuestion(question);
  return answer.opensHelp && answer.text.empty();
}

TEST(CowFirstWord, SilenceAndOneLetterWordsAreAnsweredAtOnce) {
  EXPECT_EQ(Answer(""), "*mumbles* can't hear you, give me a question!");
  EXPECT_EQ(Answer("      "), "*mumbles* can't hear you, give me a question!");
  EXPECT_EQ(Answer("b"), Echo('b'));
  // The echo repeats the lowered letter, and a one-letter first word wins over
  // the help request later in the question.
  EXPECT_EQ(Answer("B"), Echo('b'));
  EXPECT_EQ(Answer("i need help"), Echo('i'));
  EXPECT_EQ(Answer("i don't want help"), Echo('i'));
  // Leading spaces make the start text longer than one character: no echo,
  // and the provisional answer lets the second stage open the help.
  EXPECT_TRUE(OpensHelp("  i need help"));
  EXPECT_EQ(Answer("  i am here"), kUnknownLanguage);
}

TEST(CowFirstWord, MooingGreetingsAndCodeWords) {
  EXPECT_EQ(Answer("moo"), "Hi!");
  EXPECT_EQ(Answer("mooo"), "Hi! Moo mo muu?");
  EXPECT_EQ(Answer("mo mo"), "Hi! Moo mo muu?");
  EXPECT_EQ(Answer("MO, hmm"), "Hi!");
  EXPECT_EQ(Answer("muuu"), "Hej!");
  EXPECT_EQ(Answer("hejsan"), "Moo? oh, Mooooo!!!!! Mow wow yow?");
  EXPECT_EQ(Answer("xyzzy"),
            "I'm guessing you expect a bright light and to find yourself inside a cave or a maze "
            "or all of a sudden in safety, sorry, only got one word for you, duh :)");
  EXPECT_EQ(Answer("xyzzy2"), kUnknownLanguage);  // the whole word must match
  EXPECT_EQ(Answer("ReRazov9 please").substr(0, 35), "Okarins computer plings and you hav");
  EXPECT_EQ(Answer("fuck"), "Well, M##!!$$OO O#M$#4$ OOO to you too.");
  // The first word begins with "help": the help opens, nothing else is looked at.
  EXPECT_TRUE(OpensHelp("helpme with the wind power"));
  EXPECT_TRUE(OpensHelp("help with classic"));
}

TEST(CowFirstWord, CommaStaysInTheFirstWordButSeparatesTheOthers) {
  // "hi," begins with "hi": the provisional greeting gives way to step B.
  EXPECT_EQ(Answer("hi, what about the wind power"), kWindPower);
  // "what," is not "what", so it is an unknown language.
  EXPECT_EQ(Answer("what, is a cow"), kUnknownLanguage);
  // w2 ends at the comma, so it is exactly "is".
  EXPECT_EQ(Answer("what is,a cow"), kCowAnswer);
}

TEST(CowWhatTable, AnswersByKeywordAndThirdWord) {
  EXPECT_EQ(Answer("what about cows"), "Yoyimboo! Moooo or 6 is the answer!");
  EXPECT_EQ(Answer("what"), "Yoyimboo! Moooo or 6 is the answer!");
  EXPECT_EQ(Answer("what is a cow"), kCowAnswer);
  // The cow answer is final: the falling-speed explanation never comes.
  EXPECT_EQ(Answer("what is the cow falling speed"), kCowAnswer);
  EXPECT_EQ(Answer("What is the meaning of life"),
            "The meaning of life is 42, what was the question again?");
  EXPECT_EQ(Answer("what's the meaning of liff").substr(0, 30), "The meaning of liff is 24, wha");
  EXPECT_EQ(Answer("what is xanadu"), "I'm not sure, but I think it is where I'm (cows) are from.");
  EXPECT_EQ(Answer("what is 7"), "A number?");
  EXPECT_EQ(Answer("what is x?"), "A letter in the alphabeth?");
  EXPECT_EQ(Answer("what is your name"),
            "A name, a name? My Name? I'm the cow from Xanadu! Xanadu Cow? Yes, Xanadu Cow - "
            "Superhero.");
  EXPECT_EQ(Answer("what is"),
            "Moo muu moo moooo mommo moo mu mo, I don't know to be ohnest. Was that even a whole "
            "sentence?");
  EXPECT_EQ(Answer("what is love"),
            "Moo muu moo moooo mommo moo mu mo, I don't know to be ohnest.");
  // Provisional: step B replaces it.
  EXPECT_EQ(Answer("what's the herd size"), kHerdSize);
}

TEST(CowWhoAndWhere, NamesAndPlaces) {
  EXPECT_EQ(Answer("who is okarin"), "Kestrin Okarin, F.B.I - Trust Noone");
  EXPECT_EQ(Answer("whom did tolvane meet"), "A really smart dude");
  EXPECT_EQ(Answer("who is VELLETH"), "Lira Velleth, F.B.I - Yeah! :)");
  EXPECT_EQ(Answer("who are you"), "Who, me? I'm just the cow.");
  EXPECT_EQ(Answer("who am i"), "You'r the most ingenious person in the whole world!!!");
  EXPECT_EQ(Answer("who is he"),
            "Oh, you mean Moo Mooomoomoo Muu? She lives down on twentyfourth and sixth in "
            "Xanadu.");
  EXPECT_EQ(Answer("where are you"), "Xanadu");
  EXPECT_EQ(Answer("where is it"), "I don't know, but I'd guess it's somwhere near Xanadu...");
  EXPECT_EQ(Answer("where is the background"),
            "On the Background tab you can select an image (bmp) to be shown when the saver is "
            "running. If 'no background' is selected no background is shown.");
}

TEST(CowSecondStage, HelpRequestsAndTheirRefusal) {
  EXPECT_TRUE(OpensHelp("please help"));
  EXPECT_TRUE(OpensHelp("could you HELP me with the wind power"));
  EXPECT_EQ(Answer("please don't help"), "Ok, wont help you then. Or did you want me to?");
  EXPECT_EQ(Answer("please do not help with the wind power"), kWindPower);
  EXPECT_EQ(Answer("they say cows walk among us"),
            "They sure do... Hey, isn't that a cow behind you?");
  const std::string pinball = Answer("do you like pinball");
  const std::string classic = Answer("please help me with classic");
  EXPECT_TRUE(pinball.starts_with("Pinball?"));
  EXPECT_TRUE(classic.find("locked gate") != std::string::npos);
  EXPECT_NE(pinball, classic);
  EXPECT_LE(pinball.size(), 299u);
  EXPECT_LE(classic.size(), 299u);
  // Help together with "classic" is the classic hint, not the help file.
  EXPECT_FALSE(answerQuestion("please help me with classic").opensHelp);
}

TEST(CowSecondStage, SettingExplanationsFollowTheirOrder) {
  EXPECT_EQ(Answer("tell me about the size of cows in the herd"), kHerdSize);
  EXPECT_EQ(Answer("tell me about the size of cows").substr(0, 56),
            "This setting found under Herd allows you to select the s");
  EXPECT_TRUE(Answer("tell me about the size of cows").ends_with("medium or large. "));
  EXPECT_EQ(Answer("i want resolution"), Echo('i'));  // first stage is final
  EXPECT_TRUE(
      Answer("the resolution and the herd size").starts_with("This setting found under Effects"));
  // Both the intro rows give the same answer; "ufo" alone finds it too.
  EXPECT_EQ(Answer("tell me of the ufo"), Answer("play the intro"));
  EXPECT_TRUE(Answer("tell me of the ufo").find("a ufo flies in") != std::string::npos);
  EXPECT_TRUE(Answer("tell me of the pyramid").find("inverted pyramid") != std::string::npos);
  EXPECT_TRUE(Answer("the cow speed").starts_with("Found on the Saver tab"));
  // "wind" with "direction" beats the plain wind tab, but power comes first.
  EXPECT_TRUE(Answer("the wind direction").starts_with("The wind direction setting"));
  EXPECT_EQ(Answer("the wind direction and strength"), kWindPower);
  EXPECT_TRUE(Answer("tell me about the wind").starts_with("The 'Wind' tab"));
  EXPECT_TRUE(Answer("tell me about exploding cows")
                  .starts_with("If you on the Settings tab "
                               "check the explode"));
  EXPECT_TRUE(Answer("tell me about tears of blood").ends_with("blood becomes you..."));
  // The constant-wind row sits between wrapping and exploding cows.
  EXPECT_TRUE(Answer("tell me about the constant wind")
                  .starts_with("If you on the Wind tab check the 'constant wind' checkbox"));
  EXPECT_TRUE(Answer("the wrap cows and constant wind").starts_with("The wrap cows setting"));
  EXPECT_TRUE(Answer("constant wind and exploding cows").starts_with("If you on the Wind tab"));
  EXPECT_TRUE(Answer("tell me about the scenario").starts_with("The scenario selection tab"));
  EXPECT_TRUE(Answer("tell me the liff").starts_with("Clue:"));
  EXPECT_TRUE(Answer("tell me about the saver").starts_with("The 'Saver' tab"));
  EXPECT_TRUE(Answer("tell me about the effects").starts_with("The 'Effects' tab"));
  // "conspiricy" is matched as the cow has always spelled it.
  EXPECT_TRUE(Answer("tell me about conspiricy").find("conspiracy messages") != std::string::npos);
}

TEST(CowSecondStage, TroubleshootingAndSubstringMatches) {
  const std::string trouble = Answer("it won't start");
  EXPECT_TRUE(
      trouble.starts_with("Troubles with the screensaver? Have you got DirectX installed?"));
  EXPECT_EQ(Answer("the saver crashes"), trouble);
  EXPECT_EQ(Answer("my screen does not work"), trouble);
  // "won" alone is not enough: it needs "work" or "start" as well.
  EXPECT_EQ(Answer("my cow won"), kUnknownLanguage);
  // "cowshed" contains "cow", so with "wrap" it is the wrap answer.
  EXPECT_TRUE(Answer("wrap the cowshed").starts_with("The wrap cows setting"));
}

TEST(CowQuestionBox, LongQuestionsAreCutToTheBox) {
  // Contains tests search beyond the 99th character; words come only from
  // the first 99.
  const std::string padding(120, ' ');
  EXPECT_EQ(Answer("tell" + padding + "me about the wind power"), kWindPower);
  EXPECT_EQ(Answer(std::string(100, ' ') + "xyzzy"),
            "*mumbles* can't hear you, give me a question!");
  // What lies past the box's 199 characters is never seen.
  const std::string longQuestion = "tell me" + std::string(192, '.') + " about the wind power";
  EXPECT_EQ(Answer(longQuestion), kUnknownLanguage);
  const std::string huge(10000, 'x');
  EXPECT_EQ(Answer(huge), kUnknownLanguage);
  // The box ends at a NUL, as a C string would.
  EXPECT_EQ(Answer(std::string_view("moo\0 mo mo", 10)), "Hi!");
}

TEST(CowAnswers, EveryAnswerFitsTheAnswerField) {
  const char* questions[] = {"b",
                             "what is the meaning of liff",
                             "it won't start",
                             "do you like pinball",
                             "i like classic",
                             "xyzzy",
                             "rerazov9",
                             "who is he",
                             "what is true love"};
  for (const char* question : questions) {
    EXPECT_LE(answerQuestion(question).text.size(), 299u) << question;
    EXPECT_FALSE(answerQuestion(question).text.empty()) << question;
  }
}

}  // namespace
}  // namespace grazefall
