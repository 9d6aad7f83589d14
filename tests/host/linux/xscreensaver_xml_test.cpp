// XScreenSaver's settings for the hack: every argument its widgets can pass
// is one the program takes, and each slider's ends are the flag's own range.
#include <gtest/gtest.h>

#include <fstream>
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

// The value of the attribute `name` in `element`; empty when it has none.
std::string Attribute(const std::string& element, const std::string& name) {
  const std::string opening = " " + name + "=\"";
  const size_t start = element.find(opening);
  if (start == std::string::npos) return {};
  const size_t from = start + opening.size();
  return element.substr(from, element.find('"', from) - from);
}

// Every element of the xml that starts with `opening` ("<number", ...).
std::vector<std::string> Elements(const std::string& xml, const std::string& opening) {
  std::vector<std::string> found;
  for (size_t at = xml.find(opening); at != std::string::npos; at = xml.find(opening, at + 1))
    found.push_back(xml.substr(at, xml.find('>', at) + 1 - at));
  return found;
}

// The values of every arg-set and arg-unset attribute in the xml.
std::vector<std::string> SetAndUnsetArguments(const std::string& xml) {
  std::vector<std::string> found;
  for (const std::string_view name : {"arg-set=\"", "arg-unset=\""}) {
    for (size_t at = xml.find(name); at != std::string::npos; at = xml.find(name, at + 1)) {
      const size_t from = at + name.size();
      found.push_back(xml.substr(from, xml.find('"', from) - from));
    }
  }
  return found;
}

TEST(XScreenSaverXml, EveryArgumentAWidgetPassesIsTaken) {
  const std::string xml = ReadXml();
  ASSERT_FALSE(xml.empty());
  int checked = 0;
  for (const std::string& arguments : SetAndUnsetArguments(xml)) {
    ++checked;
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
  int sliders = 0;
  for (const std::string& element : Elements(xml, "<number")) {
    ++sliders;
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
