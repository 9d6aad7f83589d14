#include "options/options_store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/types.h"
#include "tests/support/fake_platform.h"

namespace grazefall {
namespace {

using platform::kEFail;
using platform::kOk;

std::vector<std::byte> BytesOf(const ScenarioOptions& record) {
  std::vector<std::byte> bytes(sizeof record);
  std::memcpy(bytes.data(), &record, sizeof record);
  return bytes;
}

bool SameBytes(const ScenarioOptions& a, const ScenarioOptions& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

ScenarioOptions WithMode(ScenarioOptions record, int32_t width, int32_t height, int32_t depth) {
  record.screenWidth = width;
  record.screenHeight = height;
  record.screenBitDepth = depth;
  return record;
}

void SetBackground(ScenarioOptions& record, const char* path, int32_t mode) {
  std::memset(record.backgroundPath, 0, sizeof record.backgroundPath);
  std::strncpy(record.backgroundPath, path, sizeof record.backgroundPath - 1);
  record.backgroundMode = mode;
}

class OptionsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { activeOptions = classicPreset; }
  void TearDown() override { activeOptions = classicPreset; }

  // The display's mode, through a display made as the sheet's would be.
  void QueryMode() {
    const auto display = fake_.createDisplayDevice();
    QueryCurrentDisplayMode(display.get());
  }
  void Prepare(OptionsStore& store) {
    const auto display = fake_.createDisplayDevice();
    PrepareOptionsStore(store, display.get());
  }
  void Prepare() { Prepare(store_); }

  // The record stored under `name`, when it is a whole record.
  std::optional<ScenarioOptions> Stored(const std::string& name) const {
    const auto& values = fake_.memoryStore.values();
    const auto found = values.find(name);
    if (found == values.end() || found->second.size() != sizeof(ScenarioOptions)) {
      return std::nullopt;
    }
    ScenarioOptions record;
    std::memcpy(&record, found->second.data(), sizeof record);
    return record;
  }

  testing::FakePlatform fake_;
  OptionsStore store_{fake_.memoryStore};
};

// --- ReadOptions, WriteOptions, DeleteOptionsValue ---

TEST_F(OptionsStoreTest, RecordsRoundTripByteForByte) {
  ScenarioOptions written = halloweenPreset;
  SetBackground(written, "/home/cow/field.bmp", 2);
  written.herdSize = 777;
  ASSERT_EQ(WriteOptions(store_, written, "Options"), kOk);
  EXPECT_EQ(fake_.memoryStore.values().at("Options"), BytesOf(written));

  ScenarioOptions read{};
  ASSERT_EQ(ReadOptions(fake_.memoryStore, read, "Options"), kOk);
  EXPECT_TRUE(SameBytes(read, written));

  ASSERT_EQ(DeleteOptionsValue(store_, "Options"), kOk);
  EXPECT_EQ(ReadOptions(fake_.memoryStore, read, "Options"), kEFail);
  // Deleting what is not there is no failure.
  EXPECT_EQ(DeleteOptionsValue(store_, "Options"), kOk);
}

TEST_F(OptionsStoreTest, ShortValuesFillTheirLengthAndLongValuesAreRefused) {
  std::vector<std::byte> shortValue(8, std::byte{0});
  shortValue[0] = std::byte{42};  // herdSize 42, cowSize 0
  fake_.memoryStore.plant("Short", shortValue);
  ScenarioOptions record = invasionPreset;
  ASSERT_EQ(ReadOptions(fake_.memoryStore, record, "Short"), kOk);
  EXPECT_EQ(record.herdSize, 42);
  EXPECT_EQ(record.cowSize, 0);
  EXPECT_EQ(record.introPhase, invasionPreset.introPhase);
  EXPECT_EQ(ScenarioNameOf(record), "Invasion");

  std::vector<std::byte> longValue = BytesOf(customPreset);
  longValue.push_back(std::byte{0});
  fake_.memoryStore.plant("Long", longValue);
  record = invasionPreset;
  EXPECT_EQ(ReadOptions(fake_.memoryStore, record, "Long"), kEFail);
  EXPECT_TRUE(SameBytes(record, invasionPreset));

  EXPECT_EQ(ReadOptions(fake_.memoryStore, record, "Missing"), kEFail);
  EXPECT_TRUE(SameBytes(record, invasionPreset));
}

TEST_F(OptionsStoreTest, UnreachableStoreFailsWithEFail) {
  fake_.memoryStore.setUnreachable(true);
  ScenarioOptions record = classicPreset;
  EXPECT_EQ(ReadOptions(fake_.memoryStore, record, "Options"), kEFail);
  EXPECT_EQ(WriteOptions(store_, record, "Options"), kEFail);
  EXPECT_EQ(DeleteOptionsValue(store_, "Options"), kEFail);
}

// A store that keeps what it is given until a test makes it refuse writes,
// saying where it lives and why it refused, as a real store does.
class RefusingStore : public platform::MemorySettingsStore {
 public:
  bool refusing = false;
  int32_t write(std::string_view name, std::span<const std::byte> bytes) override {
    if (refusing) return kEFail;
    return MemorySettingsStore::write(name, bytes);
  }
  std::string location() const override { return "/home/grazer/.config/grazefall"; }
  std::string lastFailureReason() const override { return "No space left on device"; }
};

TEST_F(OptionsStoreTest, AFailedWriteIsKeptWithWhereAndWhyUntilTaken) {
  RefusingStore store;
  OptionsStore refusing{store};
  EXPECT_EQ(WriteOptions(refusing, classicPreset, "Options"), kOk);
  EXPECT_FALSE(TakeStoreFailure(refusing).has_value());

  store.refusing = true;
  EXPECT_EQ(WriteOptions(refusing, classicPreset, "Options"), kEFail);
  EXPECT_EQ(SaveActiveOptions(refusing), kEFail);
  std::optional<StoreFailure> failure = TakeStoreFailure(refusing);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->location, "/home/grazer/.config/grazefall");
  EXPECT_EQ(failure->reason, "No space left on device");
  EXPECT_FALSE(TakeStoreFailure(refusing).has_value());
}

TEST_F(OptionsStoreTest, LeavingCustomWhenItCannotBeStoredKeepsTheCustomRecord) {
  RefusingStore store;
  OptionsStore refusing{store};
  Prepare(refusing);
  SwitchScenario(refusing, "Custom");
  activeOptions.herdSize = 321;
  store.refusing = true;
  EXPECT_EQ(SwitchScenario(refusing, "Invasion"), kEFail);
  EXPECT_EQ(ScenarioNameOf(activeOptions), "Custom");
  EXPECT_EQ(activeOptions.herdSize, 321);

  store.refusing = false;
  EXPECT_EQ(SwitchScenario(refusing, "Invasion"), kOk);
  EXPECT_EQ(ScenarioNameOf(activeOptions), "Invasion");
  const auto custom = store.values().find("Custom");
  ASSERT_NE(custom, store.values().end());
  ScenarioOptions stored{};
  ASSERT_EQ(custom->second.size(), sizeof stored);
  std::memcpy(&stored, custom->second.data(), sizeof stored);
  EXPECT_EQ(stored.herdSize, 321);
  TakeStoreFailure(refusing);
}

// --- QueryCurrentDisplayMode and LoadSaverOptions ---

TEST_F(OptionsStoreTest, DisplayModeFillsOnlyTheResolutionWhenItCanBeRead) {
  fake_.display.current = {1920, 1080, 24};
  QueryMode();
  EXPECT_TRUE(SameBytes(activeOptions, WithMode(classicPreset, 1920, 1080, 24)));

  activeOptions = classicPreset;
  fake_.display.currentReadable = false;
  QueryMode();
  fake_.display.currentReadable = true;
  fake_.display.creatable = false;
  QueryMode();
  fake_.display.creatable = true;
  // A mode lacking any one of its size or depth is no mode.
  for (const platform::DisplayMode& broken :
       {platform::DisplayMode{0, 768, 32}, platform::DisplayMode{1024, 0, 32},
        platform::DisplayMode{1024, 768, 0}, platform::DisplayMode{-640, 480, 16}}) {
    fake_.display.current = broken;
    QueryMode();
  }
  EXPECT_TRUE(SameBytes(activeOptions, classicPreset));
  // The smallest real mode is still one.
  fake_.display.current = {1, 1, 8};
  QueryMode();
  EXPECT_TRUE(SameBytes(activeOptions, WithMode(classicPreset, 1, 1, 8)));
}

TEST_F(OptionsStoreTest, SaverStartsWithTheStoredRecordOrClassicAtTheCurrentMode) {
  // No store: Classic at the display's mode, and nothing is written.
  LoadSaverOptions(fake_);
  EXPECT_TRUE(SameBytes(activeOptions, WithMode(classicPreset, 1024, 768, 32)));
  EXPECT_EQ(fake_.memoryStore.writes(), 0);
  EXPECT_TRUE(fake_.memoryStore.values().empty());

  // A stored record is taken as it is, whatever its version.
  ScenarioOptions stored = customPreset;
  stored.formatVersion = 2.1;
  fake_.memoryStore.plant("Options", BytesOf(stored));
  activeOptions = classicPreset;
  LoadSaverOptions(fake_);
  EXPECT_TRUE(SameBytes(activeOptions, stored));
}

// --- PrepareOptionsStore ---

TEST_F(OptionsStoreTest, FirstRunSeedsFiveValuesWithClassicAtTheCurrentMode) {
  Prepare();
  const ScenarioOptions expectedActive = WithMode(classicPreset, 1024, 768, 32);
  EXPECT_TRUE(SameBytes(activeOptions, expectedActive));
  EXPECT_EQ(fake_.memoryStore.values().size(), 5u);
  ASSERT_TRUE(Stored("Options"));
  EXPECT_TRUE(SameBytes(*Stored("Options"), expectedActive));
  // The scenario values keep the presets' 800 x 600 x 16.
  EXPECT_TRUE(SameBytes(*Stored("Classic"), classicPreset));
  EXPECT_TRUE(SameBytes(*Stored("Invasion"), invasionPreset));
  EXPECT_TRUE(SameBytes(*Stored("Halloween"), halloweenPreset));
  EXPECT_TRUE(SameBytes(*Stored("Custom"), customPreset));
}

TEST_F(OptionsStoreTest, CurrentVersionStoreIsLoadedAndLeftAlone) {
  Prepare();
  ScenarioOptions mine = WithMode(customPreset, 1280, 1024, 32);
  mine.herdSize = 9999;
  SetBackground(mine, "/pictures/barn.bmp", 1);
  fake_.memoryStore.plant("Options", BytesOf(mine));
  fake_.memoryStore.plant("Custom", BytesOf(mine));
  const int writesBefore = fake_.memoryStore.writes();

  activeOptions = classicPreset;
  Prepare();
  EXPECT_TRUE(SameBytes(activeOptions, mine));
  EXPECT_EQ(fake_.memoryStore.writes(), writesBefore);
  EXPECT_TRUE(SameBytes(*Stored("Custom"), mine));
}

TEST_F(OptionsStoreTest, RecordOfAnotherVersionResetsTheStore) {
  // Versions are compared bit for bit: the double next to 2.2 is another
  // version, and so is a value too short to hold the stamp.
  ScenarioOptions nearly = customPreset;
  nearly.formatVersion = std::nextafter(2.2, 3.0);
  std::vector<std::byte> shortOptions = BytesOf(customPreset);
  shortOptions.resize(344);

  for (const std::vector<std::byte>& oldOptions : {BytesOf(nearly), shortOptions}) {
    fake_.memoryStore = platform::MemorySettingsStore();
    ScenarioOptions usersCustom = customPreset;
    usersCustom.herdSize = 3;
    fake_.memoryStore.plant("Options", oldOptions);
    fake_.memoryStore.plant("Custom", BytesOf(usersCustom));
    fake_.memoryStore.plant("CurrentOptions", std::vector<std::byte>(10));
    fake_.memoryStore.plant("Classic", std::vector<std::byte>(4));
    activeOptions = classicPreset;

    Prepare();
    EXPECT_EQ(fake_.memoryStore.values().count("CurrentOptions"), 0u);
    EXPECT_TRUE(SameBytes(*Stored("Custom"), customPreset));
    EXPECT_TRUE(SameBytes(*Stored("Classic"), classicPreset));
    EXPECT_TRUE(SameBytes(*Stored("Options"), WithMode(classicPreset, 1024, 768, 32)));
    EXPECT_TRUE(SameBytes(activeOptions, WithMode(classicPreset, 1024, 768, 32)));
    EXPECT_EQ(fake_.memoryStore.values().size(), 5u);
  }
}

TEST_F(OptionsStoreTest, ResetOnAFullStoreKeepsNothingOfTheOtherVersion) {
  // Removals work but writes fail: no value of the other version is left to
  // be read as this version's, and the sheet edits Classic at the current mode.
  ScenarioOptions old = customPreset;
  old.formatVersion = 2.0;
  old.herdSize = 3;
  for (const char* name : {"Options", "Classic", "Invasion", "Halloween", "Custom"}) {
    fake_.memoryStore.plant(name, BytesOf(old));
  }
  fake_.memoryStore.setFull(true);
  activeOptions = classicPreset;

  Prepare();
  for (const char* name : {"Classic", "Invasion", "Halloween", "Custom"}) {
    EXPECT_EQ(fake_.memoryStore.values().count(name), 0u) << name;
  }
  EXPECT_TRUE(SameBytes(activeOptions, WithMode(classicPreset, 1024, 768, 32)));
}

TEST_F(OptionsStoreTest, UnreachableStoreLeavesClassicAtTheCurrentMode) {
  fake_.memoryStore.setUnreachable(true);
  Prepare();
  EXPECT_TRUE(SameBytes(activeOptions, WithMode(classicPreset, 1024, 768, 32)));
}

// --- SwitchScenario and SaveActiveOptions ---

TEST_F(OptionsStoreTest, CustomInvasionCustomCarriesResolutionAndBackground) {
  Prepare();
  SwitchScenario(store_, "Custom");
  ASSERT_EQ(ScenarioNameOf(activeOptions), "Custom");
  activeOptions.herdSize = 4321;  // an edit made in the sheet
  activeOptions.windPower = 3;
  ScenarioOptions customAtFirstSwitch = activeOptions;

  SwitchScenario(store_, "Invasion");
  EXPECT_TRUE(SameBytes(*Stored("Custom"), customAtFirstSwitch));
  EXPECT_EQ(ScenarioNameOf(activeOptions), "Invasion");
  EXPECT_EQ(activeOptions.herdSize, 500);
  EXPECT_EQ(activeOptions.screenWidth, 1024);

  // The user changes resolution and background while Invasion is active.
  activeOptions = WithMode(activeOptions, 640, 480, 8);
  SetBackground(activeOptions, "/tmp/moon.bmp", 2);
  SwitchScenario(store_, "Custom");

  ScenarioOptions expected = WithMode(customAtFirstSwitch, 640, 480, 8);
  SetBackground(expected, "/tmp/moon.bmp", 2);
  EXPECT_TRUE(SameBytes(activeOptions, expected));
  // A switch never touches "Options"; OK does.
  EXPECT_TRUE(SameBytes(*Stored("Options"), WithMode(classicPreset, 1024, 768, 32)));
  SaveActiveOptions(store_);
  EXPECT_TRUE(SameBytes(*Stored("Options"), expected));
}

TEST_F(OptionsStoreTest, InvasionToClassicKeepsUserFieldsAndWritesNothing) {
  Prepare();
  SwitchScenario(store_, "Invasion");
  SetBackground(activeOptions, "/srv/sky.bmp", 1);
  activeOptions = WithMode(activeOptions, 800, 600, 32);
  const int writesBefore = fake_.memoryStore.writes();

  SwitchScenario(store_, "Classic");
  ScenarioOptions expected = WithMode(classicPreset, 800, 600, 32);
  SetBackground(expected, "/srv/sky.bmp", 1);
  EXPECT_TRUE(SameBytes(activeOptions, expected));
  EXPECT_EQ(fake_.memoryStore.writes(), writesBefore);

  // Switching to the scenario already active changes nothing at all.
  activeOptions.herdSize = 11;
  SwitchScenario(store_, "Classic");
  EXPECT_EQ(activeOptions.herdSize, 11);
}

TEST_F(OptionsStoreTest, SwitchToAMissingValueLeavesTheRecordUnchanged) {
  Prepare();
  ASSERT_EQ(DeleteOptionsValue(store_, "Halloween"), kOk);
  const ScenarioOptions before = activeOptions;
  SwitchScenario(store_, "Halloween");
  EXPECT_TRUE(SameBytes(activeOptions, before));
  EXPECT_EQ(ScenarioNameOf(activeOptions), "Classic");
}

TEST_F(OptionsStoreTest, UnterminatedNameIsNeverTakenForCustom) {
  Prepare();
  std::memcpy(activeOptions.scenarioName, "CustomCustomCust", kScenarioNameSize);
  SwitchScenario(store_, "Invasion");
  // Not "Custom", so the Custom value was not overwritten.
  EXPECT_TRUE(SameBytes(*Stored("Custom"), customPreset));
  EXPECT_EQ(ScenarioNameOf(activeOptions), "Invasion");
}

}  // namespace
}  // namespace grazefall
