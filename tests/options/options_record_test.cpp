#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>

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

// The four presets, field by field, written out here rather than taken from
// the constants they are built from, read at the byte offsets the stored
// record has.
TEST(OptionsRecord, PresetsHoldTheirTableValuesAtTheirStoredOffsets) {
  struct Row {
    const ScenarioOptions* preset;
    const char* name;
    int32_t values[17];  // the int32 fields at offsets 0..20 and 284..324
  };
  const size_t offsets[17] = {0,   4,   8,   12,  16,  20,  284, 288, 292,
                              296, 300, 304, 308, 312, 316, 320, 324};
  const Row rows[] = {
      {&classicPreset, "Classic", {10, 3, 0, 1, 1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 800, 600, 16}},
      {&invasionPreset, "Invasion", {500, 4, 2, 1, 0, 0, 0, 0, 4, 5, 0, 0, 0, 0, 800, 600, 16}},
      {&halloweenPreset, "Halloween", {200, 4, 2, 0, 0, 0, 0, 0, 4, 0, 0, 0, 1, 1, 800, 600, 16}},
      {&customPreset, "Custom", {2530, 4, 2, 1, 1, 0, 0, 0, 4, 10, -1, 0, 0, 0, 800, 600, 16}},
  };
  for (const Row& row : rows) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(row.preset);
    for (size_t i = 0; i < std::size(offsets); ++i) {
      int32_t value = 0;
      std::memcpy(&value, bytes + offsets[i], sizeof value);
      EXPECT_EQ(value, row.values[i]) << row.name << " at offset " << offsets[i];
    }
    // backgroundPath: 260 zero bytes; scenarioName: the name, zero-padded.
    for (size_t i = 24; i < 284; ++i) EXPECT_EQ(bytes[i], 0) << row.name << " at " << i;
    char name[16] = {};
    std::memcpy(name, row.name, std::strlen(row.name));
    EXPECT_EQ(std::memcmp(bytes + 328, name, sizeof name), 0) << row.name;
  }
  EXPECT_EQ(std::memcmp(&activeOptions, &classicPreset, sizeof(ScenarioOptions)), 0);
}

}  // namespace
}  // namespace grazefall
