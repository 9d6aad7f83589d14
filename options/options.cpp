#include "options/options.h"

#include <cstring>

namespace grazefall {
namespace {

constexpr ScenarioOptions MakePreset(int32_t herdSize, int32_t cowSize, int32_t introPhase,
                                     int32_t conspiracyMessages, int32_t invertedPyramid,
                                     int32_t windPower, int32_t windDirection, int32_t explodeCows,
                                     int32_t tearsOfBlood, const char (&name)[kScenarioNameSize]) {
  ScenarioOptions o{};
  o.herdSize = herdSize;
  o.cowSize = cowSize;
  o.introPhase = introPhase;
  o.conspiracyMessages = conspiracyMessages;
  o.invertedPyramid = invertedPyramid;
  o.wrapCows = 0;
  o.backgroundMode = 0;
  o.fallSpeed = 0;
  o.heading = kHeadingDown;
  o.windPower = windPower;
  o.windDirection = windDirection;
  o.constantWind = 0;
  o.explodeCows = explodeCows;
  o.tearsOfBlood = tearsOfBlood;
  o.screenWidth = 800;
  o.screenHeight = 600;
  o.screenBitDepth = 16;
  for (size_t i = 0; i < kScenarioNameSize; ++i) o.scenarioName[i] = name[i];
  o.formatVersion = 2.2;
  return o;
}

}  // namespace

const ScenarioOptions classicPreset =
    MakePreset(10, kCowLarge, 0, 1, 1, 0, 0, 0, 0, "Classic\0\0\0\0\0\0\0\0");
const ScenarioOptions invasionPreset =
    MakePreset(500, kCowRandom, 2, 1, 0, 5, 0, 0, 0, "Invasion\0\0\0\0\0\0\0");
const ScenarioOptions halloweenPreset =
    MakePreset(200, kCowRandom, 2, 0, 0, 0, 0, 1, 1, "Halloween\0\0\0\0\0\0");
const ScenarioOptions customPreset =
    MakePreset(2530, kCowRandom, 2, 1, 1, 10, -1, 0, 0, "Custom\0\0\0\0\0\0\0\0\0");

ScenarioOptions activeOptions = classicPreset;

std::string_view ScenarioNameOf(const ScenarioOptions& options) {
  return {options.scenarioName, strnlen(options.scenarioName, kScenarioNameSize)};
}

std::string_view BackgroundPathOf(const ScenarioOptions& options) {
  return {options.backgroundPath, strnlen(options.backgroundPath, kBackgroundPathSize)};
}

bool HasCurrentFormatVersion(const ScenarioOptions& options) {
  uint64_t bits = 0;
  std::memcpy(&bits, &options.formatVersion, sizeof bits);
  return bits == kFormatVersionBits;
}

}  // namespace grazefall
