// The options record every part of the saver and the dialog reads: its exact
// 352-byte stored image, the four scenario presets, and the live record.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace grazefall {

constexpr size_t kOptionsRecordSize = 352;
constexpr size_t kBackgroundPathSize = 260;
constexpr size_t kScenarioNameSize = 16;
// The bit pattern of 2.2 as an IEEE 754 double: records of this version.
constexpr uint64_t kFormatVersionBits = 0x400199999999999Aull;

static_assert(std::endian::native == std::endian::little, "the stored record is little-endian");

// Packed, little-endian, no padding: the byte image is the stored form.
struct ScenarioOptions {
  int32_t herdSize;
  int32_t cowSize;
  int32_t introPhase;
  int32_t conspiracyMessages;
  int32_t invertedPyramid;
  int32_t wrapCows;
  char backgroundPath[kBackgroundPathSize];
  int32_t backgroundMode;
  int32_t fallSpeed;
  int32_t heading;
  int32_t windPower;
  int32_t windDirection;
  int32_t constantWind;
  int32_t explodeCows;
  int32_t tearsOfBlood;
  int32_t screenWidth;
  int32_t screenHeight;
  int32_t screenBitDepth;
  char scenarioName[kScenarioNameSize];
  double formatVersion;
};

static_assert(sizeof(ScenarioOptions) == kOptionsRecordSize);

// The values a numeric field may hold, both ends included: what the settings
// sheet's sliders span, what the command-line flags (and so the XScreenSaver
// settings) accept, and what the scene bounds a damaged record to.
struct FieldRange {
  int32_t lowest;
  int32_t highest;
};
constexpr FieldRange kHerdSizeRange{1, 10000};
constexpr FieldRange kFallSpeedRange{-5, 5};
constexpr FieldRange kWindPowerRange{0, 10};
static_assert(offsetof(ScenarioOptions, herdSize) == 0);
static_assert(offsetof(ScenarioOptions, cowSize) == 4);
static_assert(offsetof(ScenarioOptions, introPhase) == 8);
static_assert(offsetof(ScenarioOptions, conspiracyMessages) == 12);
static_assert(offsetof(ScenarioOptions, invertedPyramid) == 16);
static_assert(offsetof(ScenarioOptions, wrapCows) == 20);
static_assert(offsetof(ScenarioOptions, backgroundPath) == 24);
static_assert(offsetof(ScenarioOptions, backgroundMode) == 284);
static_assert(offsetof(ScenarioOptions, fallSpeed) == 288);
static_assert(offsetof(ScenarioOptions, heading) == 292);
static_assert(offsetof(ScenarioOptions, windPower) == 296);
static_assert(offsetof(ScenarioOptions, windDirection) == 300);
static_assert(offsetof(ScenarioOptions, constantWind) == 304);
static_assert(offsetof(ScenarioOptions, explodeCows) == 308);
static_assert(offsetof(ScenarioOptions, tearsOfBlood) == 312);
static_assert(offsetof(ScenarioOptions, screenWidth) == 316);
static_assert(offsetof(ScenarioOptions, screenHeight) == 320);
static_assert(offsetof(ScenarioOptions, screenBitDepth) == 324);
static_assert(offsetof(ScenarioOptions, scenarioName) == 328);
static_assert(offsetof(ScenarioOptions, formatVersion) == 344);

// Cow size codes.
constexpr int32_t kCowTiny = 1;
constexpr int32_t kCowMedium = 2;
constexpr int32_t kCowLarge = 3;
constexpr int32_t kCowRandom = 4;

// Heading codes, shared with the positive wind directions.
constexpr int32_t kHeadingRight = 1;
constexpr int32_t kHeadingUp = 2;
constexpr int32_t kHeadingLeft = 3;
constexpr int32_t kHeadingDown = 4;

// The compiled-in scenario records.
extern const ScenarioOptions classicPreset;
extern const ScenarioOptions invasionPreset;
extern const ScenarioOptions halloweenPreset;
extern const ScenarioOptions customPreset;

// The one live record of the process; starts equal to classicPreset.
extern ScenarioOptions activeOptions;

// The scenario name as text, never reading past its 16-byte field.
std::string_view ScenarioNameOf(const ScenarioOptions& options);
// The background path as text, never reading past its 260-byte field.
std::string_view BackgroundPathOf(const ScenarioOptions& options);
// True when the record's last eight bytes are exactly the 2.2 pattern.
bool HasCurrentFormatVersion(const ScenarioOptions& options);

}  // namespace grazefall
