// XScreenSaver's settings for the hack: every argument its widgets can pass
// is one the program takes, and each slider's ends are the flag's own range.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "host/linux/hack_options.h"

namespace grazefall::host {
namespace {

std::string ReadXml() {
  std::ifstream in(std::string(GRAZEFALL_TEST_SOURCE_DIR) +
                   "/host/linux/xscreensaver/grazefall.xml");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// Parsed as XScreenSaver would start the hack: "--root" and the arguments.
LinuxCommand ParseWith(const std::string& arguments) {
  std::vector<std::string> words = Words("--root " + arguments);
  std::vector<std::string_view> args(words.begin(), words.end());
  return ParseLinuxCommand(args, "0x400001");
}

std::string Attribute(const std::string& element, const std::string& name) {
  const std::regex pattern("\\s" + name + "=\"([^\"]*)\"");
  std::smatch match;
  return std::regex_search(element, match, pattern) ? match[1].str() : std::string();
}

TEST(XScreenSaverXml, EveryArgumentAWidgetPassesIsTaken) {
  const std::string xml = ReadXml();
  ASSERT_FALSE(xml.empty());
  const std::regex setOrUnset("arg-(?:set|unset)=\"([^\"]*)\"");
  int checked = 0;
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), setOrUnset);
       it != std::sregex_iterator(); ++it, ++checked) {
    const std::string arguments = (*it)[1].str();
    const LinuxCommand command = ParseWith(arguments);
    EXPECT_EQ(command.mode, LinuxMode::InWindow) << arguments << ": " << command.error;
    EXPECT_EQ(command.window, 0x400001u) << arguments;
  }
  // The scenarios, cow sizes, headings, wind directions, background modes and
  // the boxes.
  EXPECT_GE(checked, 30);

  const LinuxCommand picture = ParseWith("--background /tmp/field.bmp");
  EXPECT_EQ(picture.optionFlags.backgroundPath, "/tmp/field.bmp");
}

TEST(XScreenSaverXml, SlidersSpanExactlyTheFlagsRanges) {
  const std::string xml = ReadXml();
  const std::regex number("<number[^>]*>");
  int sliders = 0;
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), number); it != std::sregex_iterator();
       ++it, ++sliders) {
    const std::string element = it->str();
    const std::string arg = Attribute(element, "arg");
    ASSERT_NE(arg.find('%'), std::string::npos) << element;
    const int low = std::stoi(Attribute(element, "low"));
    const int high = std::stoi(Attribute(element, "high"));
    const int fallback = std::stoi(Attribute(element, "default"));
    EXPECT_TRUE(low <= fallback && fallback <= high) << element;
    const auto with = [&](int value) {
      std::string line = arg;
      line.replace(line.find('%'), 1, std::to_string(value));
      return ParseWith(line).mode;
    };
    EXPECT_EQ(with(low), LinuxMode::InWindow) << element;
    EXPECT_EQ(with(high), LinuxMode::InWindow) << element;
    EXPECT_EQ(with(low - 1), LinuxMode::BadOptionFlag) << element;
    EXPECT_EQ(with(high + 1), LinuxMode::BadOptionFlag) << element;
  }
  EXPECT_EQ(sliders, 3);
}

TEST(XScreenSaverXml, HackOptionsAndTheFlagsMixInAnyOrder) {
  const LinuxCommand command = ParseWith("-fps -herd-size 40 -no-intro");
  EXPECT_EQ(command.mode, LinuxMode::InWindow);
  EXPECT_TRUE(command.showFrameRate);
  EXPECT_EQ(command.optionFlags.herdSize, 40);
  EXPECT_EQ(command.optionFlags.playIntro, false);
  // With the letters too; a flag's value is never taken for one.
  std::vector<std::string_view> letters = {"/s", "--wind-power", "3", "--explode"};
  const LinuxCommand full = ParseLinuxCommand(letters, std::nullopt);
  EXPECT_EQ(full.mode, LinuxMode::Letters);
  EXPECT_EQ(full.letters, "/s");
  EXPECT_EQ(full.optionFlags.windPower, 3);
  EXPECT_EQ(full.optionFlags.explodeCows, true);
  std::vector<std::string_view> bad = {"/s", "--wind-power", "30"};
  const LinuxCommand refused = ParseLinuxCommand(bad, std::nullopt);
  EXPECT_EQ(refused.mode, LinuxMode::BadOptionFlag);
  EXPECT_NE(refused.error.find("--wind-power"), std::string::npos) << refused.error;
}

}  // namespace
}  // namespace grazefall::host
