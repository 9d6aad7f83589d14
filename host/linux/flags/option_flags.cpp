#include "host/linux/flags/option_flags.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstring>

#include "options/options_store.h"

namespace grazefall::flags {
namespace {

struct Choice {
  std::string_view word;
  int32_t code;
};

constexpr std::array kScenarioChoices = {Choice{"classic", 0}, Choice{"invasion", 1},
                                         Choice{"halloween", 2}, Choice{"custom", 3}};
constexpr std::array kScenarioNames = {"Classic", "Invasion", "Halloween", "Custom"};
constexpr std::array kCowSizeChoices = {Choice{"tiny", kCowTiny}, Choice{"medium", kCowMedium},
                                        Choice{"large", kCowLarge}, Choice{"random", kCowRandom}};
constexpr std::array kHeadingChoices = {Choice{"right", kHeadingRight}, Choice{"up", kHeadingUp},
                                        Choice{"left", kHeadingLeft}, Choice{"down", kHeadingDown}};
// The "r-" directions blow somewhere in that half; their codes are not in
// the order of the plain ones.
constexpr std::array kWindDirectionChoices = {
    Choice{"random", 0},  Choice{"right", 1},   Choice{"up", 2},
    Choice{"left", 3},    Choice{"down", 4},    Choice{"r-up", -1},
    Choice{"r-down", -2}, Choice{"r-left", -3}, Choice{"r-right", -4}};
// The numbers are the record's own codes, which --render has always taken.
constexpr std::array kBackgroundModeChoices = {Choice{"none", 0},    Choice{"center", 1},
                                               Choice{"stretch", 2}, Choice{"0", 0},
                                               Choice{"1", 1},       Choice{"2", 2}};
constexpr size_t kBackgroundModeWords = 3;

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

template <size_t N>
std::optional<int32_t> FindChoice(const std::array<Choice, N>& choices, std::string_view word) {
  for (const Choice& choice : choices) {
    if (SameWord(choice.word, word)) return choice.code;
  }
  return std::nullopt;
}

template <size_t N>
std::string ChoiceList(const std::array<Choice, N>& choices, size_t count = N) {
  std::string list;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) list += i + 1 == count ? " or " : ", ";
    list += choices[i].word;
  }
  return list;
}

// The flags by the kind of their value: a whole number in a range, a word
// from a list, or none (the flag and its "no-" form).
struct NumberFlag {
  std::string_view name;
  std::optional<int32_t> OptionFlags::*number = nullptr;
  FieldRange range{};
};

struct ChoiceFlag {
  std::string_view name;
  std::optional<int32_t> OptionFlags::*field;
  std::span<const Choice> choices;
  std::string allowed;
};

struct SwitchFlag {
  std::string_view name;
  std::optional<bool> OptionFlags::*field;
};

constexpr std::array kNumberFlags = {
    NumberFlag{"herd-size", &OptionFlags::herdSize, kHerdSizeRange},
    NumberFlag{"falling-speed", &OptionFlags::fallSpeed, kFallSpeedRange},
    NumberFlag{"wind-power", &OptionFlags::windPower, kWindPowerRange},
};

const std::array<ChoiceFlag, 4>& ChoiceFlags() {
  static const std::array<ChoiceFlag, 4> flags = {
      ChoiceFlag{"cow-size", &OptionFlags::cowSize, kCowSizeChoices, ChoiceList(kCowSizeChoices)},
      ChoiceFlag{"heading", &OptionFlags::heading, kHeadingChoices, ChoiceList(kHeadingChoices)},
      ChoiceFlag{"wind-direction", &OptionFlags::windDirection, kWindDirectionChoices,
                 ChoiceList(kWindDirectionChoices)},
      ChoiceFlag{"background-mode", &OptionFlags::backgroundMode, kBackgroundModeChoices,
                 ChoiceList(kBackgroundModeChoices, kBackgroundModeWords)},
  };
  return flags;
}

constexpr std::array kSwitchFlags = {
    SwitchFlag{"constant-wind", &OptionFlags::constantWind},
    SwitchFlag{"explode", &OptionFlags::explodeCows},
    SwitchFlag{"tears", &OptionFlags::tearsOfBlood},
    SwitchFlag{"messages", &OptionFlags::conspiracyMessages},
    SwitchFlag{"intro", &OptionFlags::playIntro},
    SwitchFlag{"pyramid", &OptionFlags::invertedPyramid},
    SwitchFlag{"wrap", &OptionFlags::wrapCows},
};

// Appended piece by piece: GCC 12 at -O3 takes `"'" + std::string(value)`
// for an overlapping copy (a false -Wrestrict).
std::string Quoted(std::string_view value) {
  std::string quoted;
  quoted.reserve(value.size() + 2);
  quoted += '\'';
  quoted += value;
  quoted += '\'';
  return quoted;
}

// A number or a word from a list for the flag `name`; false with the
// complaint in *error when the value is not allowed.
bool TakeValue(const std::string& shown, std::string_view name, std::string_view value,
               OptionFlags* flags, std::string* error) {
  for (const NumberFlag& flag : kNumberFlags) {
    if (flag.name != name) continue;
    const std::optional<int32_t> number = ParseWholeNumber<int32_t>(value);
    if (!number || *number < flag.range.lowest || *number > flag.range.highest) {
      *error = shown + ": " + Quoted(value) + " is not a whole number from " +
               std::to_string(flag.range.lowest) + " to " + std::to_string(flag.range.highest);
      return false;
    }
    flags->*flag.number = *number;
    return true;
  }
  for (const ChoiceFlag& flag : ChoiceFlags()) {
    if (flag.name != name) continue;
    for (const Choice& choice : flag.choices) {
      if (SameWord(choice.word, value)) {
        flags->*flag.field = choice.code;
        return true;
      }
    }
    *error = shown + ": " + Quoted(value) + " is not one of " + flag.allowed;
    return false;
  }
  return false;
}

const ScenarioOptions& PresetOf(std::string_view name) {
  if (name == "Invasion") return invasionPreset;
  if (name == "Halloween") return halloweenPreset;
  if (name == "Custom") return customPreset;
  return classicPreset;
}

void SetText(char* field, size_t size, std::string_view text) {
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

int32_t AsFlag(bool on) {
  return on ? 1 : 0;
}

}  // namespace

bool OptionFlags::any() const {
  return scenario || herdSize || cowSize || fallSpeed || heading || windPower || windDirection ||
         constantWind || explodeCows || tearsOfBlood || conspiracyMessages || playIntro ||
         invertedPyramid || wrapCows || backgroundPath || backgroundMode;
}

FlagMatch TakeOptionFlag(std::span<const std::string_view> args, size_t* index, OptionFlags* flags,
                         std::string* error) {
  std::string_view arg = args[*index];
  if (arg.starts_with("--")) {
    arg.remove_prefix(2);
  } else if (arg.starts_with("-")) {
    arg.remove_prefix(1);
  } else {
    return FlagMatch::NotAFlag;
  }
  std::optional<std::string_view> attached;
  std::string_view name = arg;
  if (const size_t equals = arg.find('='); equals != std::string_view::npos) {
    name = arg.substr(0, equals);
    attached = arg.substr(equals + 1);
  }
  const std::string shown = "--" + std::string(name);

  for (const SwitchFlag& flag : kSwitchFlags) {
    const bool on = name == flag.name;
    const bool off = name.starts_with("no-") && name.substr(3) == flag.name;
    if (!on && !off) continue;
    if (attached) {
      *error = shown + " takes no value, not " + Quoted(*attached) + " (use --" +
               std::string(flag.name) + " or --no-" + std::string(flag.name) + ")";
      return FlagMatch::Bad;
    }
    flags->*flag.field = on;
    ++*index;
    return FlagMatch::Taken;
  }

  const bool known = name == "scenario" || name == "background" ||
                     std::any_of(kNumberFlags.begin(), kNumberFlags.end(),
                                 [&](const NumberFlag& f) { return f.name == name; }) ||
                     std::any_of(ChoiceFlags().begin(), ChoiceFlags().end(),
                                 [&](const ChoiceFlag& f) { return f.name == name; });
  if (!known) return FlagMatch::NotAFlag;

  std::string_view value;
  size_t next = *index + 1;
  if (attached) {
    value = *attached;
  } else if (next < args.size()) {
    value = args[next++];
  } else {
    *error = shown + " needs a value";
    return FlagMatch::Bad;
  }

  if (name == "scenario") {
    const std::optional<int32_t> which = FindChoice(kScenarioChoices, value);
    if (!which) {
      *error = shown + ": " + Quoted(value) + " is not a scenario (" +
               ChoiceList(kScenarioChoices) + ")";
      return FlagMatch::Bad;
    }
    flags->scenario = kScenarioNames[static_cast<size_t>(*which)];
  } else if (name == "background") {
    if (value.empty() || value.size() >= kBackgroundPathSize) {
      *error = shown + ": " + Quoted(value) + " is not a file path of 1 to " +
               std::to_string(kBackgroundPathSize - 1) + " bytes";
      return FlagMatch::Bad;
    }
    flags->backgroundPath = std::string(value);
  } else if (!TakeValue(shown, name, value, flags, error)) {
    return FlagMatch::Bad;
  }
  *index = next;
  return FlagMatch::Taken;
}

void ApplyOptionFlags(const OptionFlags& flags, platform::SettingsStore& store,
                      ScenarioOptions& options) {
  if (flags.scenario) {
    ScenarioOptions scenario = PresetOf(*flags.scenario);
    // A stored record of the scenario wins over the preset; a short one
    // fills only what it has.
    ReadOptions(store, scenario, *flags.scenario);
    scenario.screenWidth = options.screenWidth;
    scenario.screenHeight = options.screenHeight;
    scenario.screenBitDepth = options.screenBitDepth;
    std::memcpy(scenario.backgroundPath, options.backgroundPath, kBackgroundPathSize);
    scenario.backgroundMode = options.backgroundMode;
    options = scenario;
  }
  if (flags.herdSize) options.herdSize = *flags.herdSize;
  if (flags.cowSize) options.cowSize = *flags.cowSize;
  if (flags.fallSpeed) options.fallSpeed = *flags.fallSpeed;
  if (flags.heading) options.heading = *flags.heading;
  if (flags.windPower) options.windPower = *flags.windPower;
  if (flags.windDirection) options.windDirection = *flags.windDirection;
  if (flags.constantWind) options.constantWind = AsFlag(*flags.constantWind);
  if (flags.explodeCows) options.explodeCows = AsFlag(*flags.explodeCows);
  if (flags.tearsOfBlood) options.tearsOfBlood = AsFlag(*flags.tearsOfBlood);
  if (flags.conspiracyMessages) options.conspiracyMessages = AsFlag(*flags.conspiracyMessages);
  // The intro plays from its first phase, or is over before it starts.
  if (flags.playIntro) options.introPhase = *flags.playIntro ? 0 : 2;
  if (flags.invertedPyramid) options.invertedPyramid = AsFlag(*flags.invertedPyramid);
  if (flags.wrapCows) options.wrapCows = AsFlag(*flags.wrapCows);
  if (flags.backgroundPath)
    SetText(options.backgroundPath, kBackgroundPathSize, *flags.backgroundPath);
  if (flags.backgroundMode) options.backgroundMode = *flags.backgroundMode;
}

std::string OptionFlagsHelp() {
  using std::to_string;
  return "Options for this run (one dash or two, \"--flag VALUE\" or \"--flag=VALUE\";\n"
         "untold, the stored settings hold; nothing is stored):\n"
         "  --scenario classic|invasion|halloween|custom   that scenario's settings\n"
         "  --herd-size N            cows, " +
         to_string(kHerdSizeRange.lowest) + " to " + to_string(kHerdSizeRange.highest) +
         "\n"
         "  --cow-size tiny|medium|large|random\n"
         "  --falling-speed N        " +
         to_string(kFallSpeedRange.lowest) + " (slowest) to " + to_string(kFallSpeedRange.highest) +
         " (fastest)\n"
         "  --heading right|up|left|down\n"
         "  --wind-power N           " +
         to_string(kWindPowerRange.lowest) + " (none) to " + to_string(kWindPowerRange.highest) +
         "\n"
         "  --wind-direction random|right|up|left|down|r-up|r-down|r-left|r-right\n"
         "  --[no-]constant-wind     gusts one after another\n"
         "  --[no-]explode           cows explode now and then\n"
         "  --[no-]tears             tears of blood\n"
         "  --[no-]messages          conspiracy messages\n"
         "  --[no-]intro             the flying-saucer intro\n"
         "  --[no-]pyramid           the inverted pyramid\n"
         "  --[no-]wrap              cows leaving one side come back on the other\n"
         "  --background FILE        a .bmp picture behind the herd\n"
         "  --background-mode none|center|stretch\n";
}

}  // namespace grazefall::flags
