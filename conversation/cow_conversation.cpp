#include "conversation/cow_conversation.h"

#include <array>

namespace grazefall {
namespace {

// Words are only looked for in the first 99 characters of the question.
constexpr size_t kWordWindowLength = 99;
constexpr int kEchoRepeats = 50;

constexpr std::string_view kCantHear = "*mumbles* can't hear you, give me a question!";
constexpr std::string_view kEchoOpening = "I can make that sound too! Listen: *";
constexpr std::string_view kGreeting = "Moo? oh, Mooooo!!!!! Mow wow yow?";
constexpr std::string_view kXyzzy =
    "I'm guessing you expect a bright light and to find yourself inside a cave or a maze or all "
    "of a sudden in safety, sorry, only got one word for you, duh :)";
constexpr std::string_view kPassword =
    "Okarins computer plings and you have access to his harddrive, there's some interesting "
    "stuff here, to bad you'r talking to a cow or you could take a look around.";
constexpr std::string_view kCurse = "Well, M##!!$$OO O#M$#4$ OOO to you too.";
constexpr std::string_view kUnknownLanguage =
    "I don't speak that language I'm afraid (or perhaps I do but didn't recognize it, my english "
    "is quite limited I'm afraid), could you perhaps try speaking like a cow?";

constexpr std::string_view kWhatAbout = "Yoyimboo! Moooo or 6 is the answer!";
constexpr std::string_view kMeaningOfLiff =
    "The meaning of liff is 24, what was the question again? (ps. if you want a clue and haven't "
    "already done so, ask me about the liff, not the meaning of liff)";
constexpr std::string_view kMeaningOfLife =
    "The meaning of life is 42, what was the question again?";
constexpr std::string_view kWhatIsACow =
    "The ones that go moo! Some are black and white spotted. Some tip over in the wind. Some are "
    "made of cheramic and walk around in Chicago, not Drummel's though :(";
constexpr std::string_view kWhatIsXanadu =
    "I'm not sure, but I think it is where I'm (cows) are from.";
constexpr std::string_view kANumber = "A number?";
constexpr std::string_view kALetter = "A letter in the alphabeth?";
constexpr std::string_view kMyName =
    "A name, a name? My Name? I'm the cow from Xanadu! Xanadu Cow? Yes, Xanadu Cow - Superhero.";
constexpr std::string_view kDontKnow =
    "Moo muu moo moooo mommo moo mu mo, I don't know to be ohnest.";
constexpr std::string_view kDontKnowHalfSentence =
    "Moo muu moo moooo mommo moo mu mo, I don't know to be ohnest. Was that even a whole "
    "sentence?";

constexpr std::string_view kWhoSmartDude = "A really smart dude";
constexpr std::string_view kWhoOkarin = "Kestrin Okarin, F.B.I - Trust Noone";
constexpr std::string_view kWhoVelleth = "Lira Velleth, F.B.I - Yeah! :)";
constexpr std::string_view kWhoMe = "Who, me? I'm just the cow.";
constexpr std::string_view kWhoAmI = "You'r the most ingenious person in the whole world!!!";
constexpr std::string_view kWhoElse =
    "Oh, you mean Moo Mooomoomoo Muu? She lives down on twentyfourth and sixth in Xanadu.";

constexpr std::string_view kWhereAreYou = "Xanadu";
constexpr std::string_view kWhereElse = "I don't know, but I'd guess it's somwhere near Xanadu...";

constexpr std::string_view kNoHelpThen = "Ok, wont help you then. Or did you want me to?";
constexpr std::string_view kCowsAmongUs = "They sure do... Hey, isn't that a cow behind you?";
constexpr std::string_view kPinball =
    "Pinball? Are you talking about pinball? Then our own web site is the place to go for "
    "pinball simulations. Moo!";
constexpr std::string_view kClassic =
    "Classic, eh? A hint for our adventure game then: when you reach the locked gate, don't look "
    "for a key, knock twice and wait. More hints are on our web site. Moo!";
constexpr std::string_view kTroubleshooting =
    "Troubles with the screensaver? Have you got DirectX installed? If you have, read the "
    "troubleshooting part of the help file, or the support page on our web site.";

constexpr std::string_view kResolution =
    "This setting found under Effects allows you to select what screen resolution you wish the "
    "screensaver to run in";
constexpr std::string_view kHerdSize =
    "This settings found under Herd allows you to specify how large you wish the herd of cows "
    "that rain down the screen to be.";
constexpr std::string_view kCowSize =
    "This setting found under Herd allows you to select the size of the cows in the herd. They "
    "can be small, medium or large. ";
constexpr std::string_view kConspiracy =
    "If you on the Effects tab check the 'Display conspiracy messages...' checkbox weird "
    "messages will appear on the screen when the saver is running.";
constexpr std::string_view kIntro =
    "If you on the Effects tab check the 'play intro...' checkbox a intro where a ufo flies in "
    "will be played when the saver starts.";
constexpr std::string_view kPyramid =
    "If you on the Saver/Herd tab check the 'arrange cows in an inverted pyramid' checkbox the "
    "cows will at first be arranged like an inverted pyramid.";
constexpr std::string_view kFallingSpeed =
    "Found on the Saver tab is a setting that sets how fast the cows fall down, setting it to 1 "
    "usually works out best and looks best.";
constexpr std::string_view kWindPower =
    "The wind power setting found on the Wind tab controls the strength of the wind that blows "
    "on the cow. 10 is a very very strong wind.";
constexpr std::string_view kWindDirection =
    "The wind direction setting found on the Wind tab controls which direction the wind blows "
    "in. i.e. R-Up means the wind blows in some upward direction.";
constexpr std::string_view kWrapCows =
    "The wrap cows setting will make the cows wrap around the edge of the screen, i.e when cows "
    "dissapering on on the screens left side appear on the right side.";
constexpr std::string_view kConstantWind =
    "If you on the Wind tab check the 'constant wind' checkbox the wind will constantly blow in "
    "the set direction(s).";
constexpr std::string_view kExplodeCows =
    "If you on the Settings tab check the explode cows box, well, something surprising is bound "
    "to happen...";
constexpr std::string_view kTearsOfBlood =
    "If you on the Settings tab check the tears of blood check box... blood becomes you...";
constexpr std::string_view kBackground =
    "On the Background tab you can select an image (bmp) to be shown when the saver is running. "
    "If 'no background' is selected no background is shown.";
constexpr std::string_view kScenario =
    "The scenario selection tab allows you select which scenario you want to be active. The "
    "custom scenario allows you specify your own custom settings.";
constexpr std::string_view kLiffClue =
    "Clue: Click the big question mark on the 'The Meaning of Liff' tab for another clue.";
constexpr std::string_view kSaverTab =
    "The 'Saver' tab contains settings relevant for the saver and the herd. Shall I take it "
    "again?";
constexpr std::string_view kWindTab =
    "The 'Wind' tab contains settings relevant for the wind and the cows speed. Confusing?";
constexpr std::string_view kEffectsTab =
    "The 'Effects' tab contains some very cool effects you can turn on. Like exploding cows! "
    "Err, ok, stay away from that one.";

// Only the ASCII letters change case; every other byte stays as it is.
std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

bool BeginsWith(std::string_view word, std::string_view prefix) {
  return word.substr(0, prefix.size()) == prefix;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The question as the matching sees it: L for the contains tests, up to three
// words, and the length of the start text S (the window up to the end of w1).
struct Question {
  std::string lowered;
  std::array<std::string_view, 3> words{};
  int wordCount = 0;
  size_t startTextLength = 0;

  bool has(int index) const { return wordCount > index; }
  std::string_view word(int index) const { return words[static_cast<size_t>(index)]; }
  bool contains(std::string_view part) const { return Contains(lowered, part); }
};

Question ReadQuestion(std::string_view text) {
  Question q;
  q.lowered = Lowered(text);
  const std::string_view window = std::string_view(q.lowered).substr(0, kWordWindowLength);
  size_t i = 0;
  while (i < window.size() && window[i] == ' ') ++i;
  if (i == window.size()) return q;

  // The first word runs to the next space; a comma stays part of it.
  const size_t firstStart = i;
  while (i < window.size() && window[i] != ' ') ++i;
  q.words[0] = window.substr(firstStart, i - firstStart);
  q.wordCount = 1;
  q.startTextLength = i;

  const auto isSeparator = [](char c) { return c == ' ' || c == ','; };
  while (q.wordCount < 3) {
    while (i < window.size() && isSeparator(window[i])) ++i;
    if (i == window.size()) break;
    const size_t start = i;
    while (i < window.size() && !isSeparator(window[i])) ++i;
    q.words[static_cast<size_t>(q.wordCount++)] = window.substr(start, i - start);
  }
  return q;
}

// The first stage's verdict: an answer that is final or provisional, or a
// request for the help.
struct FirstStage {
  std::string text;
  bool final = false;
  bool opensHelp = false;
};

FirstStage Final(std::string_view text) {
  return {std::string(text), true, false};
}
FirstStage Provisional(std::string_view text) {
  return {std::string(text), false, false};
}

std::string EchoOf(char sound) {
  std::string echo(kEchoOpening);
  for (int i = 0; i < kEchoRepeats; ++i) {
    echo += sound;
    echo += ' ';
  }
  echo += '*';
  return echo;
}

FirstStage AnswerWhat(const Question& q) {
  if (q.word(0) == "what" && (!q.has(1) || q.word(1) != "is")) return Provisional(kWhatAbout);
  if (q.contains("meaning") && (q.contains("life") || q.contains("liff"))) {
    return Final(q.contains("liff") ? kMeaningOfLiff : kMeaningOfLife);
  }
  if (q.contains("cow")) return Final(kWhatIsACow);
  if (q.contains("xanadu")) return Final(kWhatIsXanadu);
  if (q.has(2) && (q.word(2).size() == 1 || (q.word(2).size() >= 2 && q.word(2)[1] == '?'))) {
    const char first = q.word(2)[0];
    return Provisional(first >= '0' && first <= '9' ? kANumber : kALetter);
  }
  if (q.contains("name")) return Final(kMyName);
  return Provisional(q.has(2) ? kDontKnow : kDontKnowHalfSentence);
}

FirstStage AnswerWho(const Question& q) {
  if (q.contains("tolvane")) return Final(kWhoSmartDude);
  if (q.contains("okarin")) return Final(kWhoOkarin);
  if (q.contains("velleth")) return Final(kWhoVelleth);
  if (q.contains("you")) return Final(kWhoMe);
  // "who am i", "who is the smartest, i?": the asker asks about themselves.
  if (q.contains(" i?") || q.lowered.ends_with(" i")) return Final(kWhoAmI);
  return Provisional(kWhoElse);
}

FirstStage AnswerFirstWord(const Question& q) {
  if (q.wordCount == 0) return Final(kCantHear);
  if (q.startTextLength == 1) return Final(EchoOf(q.lowered[0]));
  const std::string_view w1 = q.word(0);
  if (BeginsWith(w1, "mo")) {
    std::string hi = "Hi!";
    if ((q.has(1) && Contains(q.word(1), "mo")) || w1.size() >= 4) hi += " Moo mo muu?";
    return Final(hi);
  }
  if (BeginsWith(w1, "mu")) return Final("Hej!");
  if (BeginsWith(w1, "hi") || BeginsWith(w1, "hej")) return Provisional(kGreeting);
  if (w1 == "xyzzy") return Final(kXyzzy);
  if (BeginsWith(w1, "help")) return {{}, true, true};
  if (w1 == "rerazov9") return Final(kPassword);
  if (w1 == "fuck") return Final(kCurse);
  if (w1 == "what" || w1 == "what's") return AnswerWhat(q);
  if (w1 == "who" || w1 == "whom") return AnswerWho(q);
  if (w1 == "where") return q.contains("you") ? Final(kWhereAreYou) : Provisional(kWhereElse);
  return Provisional(kUnknownLanguage);
}

// The explanation of a setting named anywhere in the question; empty when
// none is named. The order matters: the first match wins.
std::string_view ExplainSetting(const Question& q) {
  const auto has = [&q](std::string_view part) { return q.contains(part); };
  if (has("screen resolution") || has("resolution")) return kResolution;
  if (has("size of herd") || has("herd size") || (has("size") && has("herd"))) return kHerdSize;
  if (has("size of cows")) return kCowSize;
  if (has("conspiricy") || has("sublime") || has("brainwave")) return kConspiracy;
  if (has("play the intro") || (has("play") && has("intro"))) return kIntro;
  if (has("intro") || has("ufo")) return kIntro;
  if (has("inverted pyramid") || has("pyramid")) return kPyramid;
  if (has("cow falling speed") || (has("cow") && has("speed"))) return kFallingSpeed;
  if (has("wind") && (has("power") || has("strength"))) return kWindPower;
  if (has("wind") && has("direction")) return kWindDirection;
  if (has("wrap") && has("cow")) return kWrapCows;
  if (has("constant") && has("wind")) return kConstantWind;
  if (has("explod") && has("cow")) return kExplodeCows;
  if (has("tear") && has("blood")) return kTearsOfBlood;
  if (has("background")) return kBackground;
  if (has("troubleshooting") || has("crashes") || has("directx") || has("problem") ||
      ((has("doesn't") || has("does not") || has("won")) && (has("work") || has("start")))) {
    return kTroubleshooting;
  }
  if (has("scenario")) return kScenario;
  if (has("the liff")) return kLiffClue;
  if (has("saver")) return kSaverTab;
  if (has("wind")) return kWindTab;
  if (has("effects")) return kEffectsTab;
  return {};
}

}  // namespace

CowAnswer answerQuestion(std::string_view question) {
  // The box holds 199 characters and, like any text box, ends at a NUL.
  question = question.substr(0, kQuestionBoxLength);
  question = question.substr(0, question.find('\0'));
  const Question q = ReadQuestion(question);

  FirstStage first = AnswerFirstWord(q);
  if (first.opensHelp) return {true, {}};
  if (first.final) return {false, std::move(first.text)};

  std::string answer = std::move(first.text);
  if (q.contains("help") && !q.contains("classic")) {
    if (!q.contains("don't") && !q.contains("do not")) return {true, {}};
    answer = kNoHelpThen;
  } else if (q.contains("cows walk among us")) {
    answer = kCowsAmongUs;
  } else if (q.contains("pinball")) {
    answer = kPinball;
  } else if (q.contains("classic")) {
    answer = kClassic;
  }
  if (const std::string_view explanation = ExplainSetting(q); !explanation.empty()) {
    answer = explanation;
  }
  return {false, std::move(answer)};
}

}  // namespace grazefall
