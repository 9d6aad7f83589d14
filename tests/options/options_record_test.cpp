#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "options/options.h"

namespace grazefall {
namespace {

TEST(OptionsRecord, VersionStampIsTheExactBitPatternAtTheEnd) {
  const unsigned char expected[8] = {0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0x01, 0x40};
  const auto* image = reinterpret_cast<const unsigned char*>(&classicPreset);
  EXPECT_EQ(std::memcmp(image + 344, expected, 8), 0);
  EXPECT_TRUE(HasCurrentFormatVersion(classicPreset));

  ScenarioOptions other = classicPreset;
  other.formatVersion = std::nextafter(2.2, 0.0);
  EXPECT_FALSE(HasCurrentFormatVersion(other));
  other.formatVersion = 0.0;
  EXPECT_FALSE(HasCurrentFormatVersion(other));
}

TEST(OptionsRecord, TextFieldsAreReadWithinTheirBytesEvenUnterminated) {
  ScenarioOptions record = customPreset;
  std::memset(record.scenarioName, 'Z', sizeof record.scenarioName);
  std::memset(record.backgroundPath, 'p', sizeof record.backgroundPath);
  EXPECT_EQ(ScenarioNameOf(record), std::string(16, 'Z'));
  EXPECT_EQ(BackgroundPathOf(record), std::string(260, 'p'));

  EXPECT_EQ(ScenarioNameOf(halloweenPreset), "Halloween");
  EXPECT_EQ(BackgroundPathOf(halloweenPreset), "");
}

TEST(OptionsRecord, PresetNamesArePaddedWithZeros) {
  for (const ScenarioOptions* preset :
       {&classicPreset, &invasionPreset, &halloweenPreset, &customPreset}) {
    const std::string_view name = ScenarioNameOf(*preset);
    for (size_t i = name.size(); i < kScenarioNameSize; ++i) {
      EXPECT_EQ(preset->scenarioName[i], '\0') << name;
    }
  }
}

}  // namespace
}  // namespace grazefall
