// OK and Cancel on a sheet whose settings store may refuse writes: a failed
// save tells the user where and why and keeps the sheet open with the
// user's choices; the next OK after the store is put right saves and closes.
#include "sheet/sheet_closer.h"

#include <gtest/gtest.h>

#include <string>

#include "options/options.h"
#include "sheet/page_ids.h"
#include "tests/sheet/page_test_support.h"
#include "tests/support/first_run_records.h"

namespace grazefall::page_testing {
namespace {

constexpr const char* kFolder = "/home/ann/.config/grazefall";
constexpr const char* kReason = "No space left on device";

// A store that can be made full: every write fails, naming its folder and the
// system's reason, until it has room again.
class FillableStore : public platform::MemorySettingsStore {
 public:
  bool full = false;
  int32_t write(std::string_view name, std::span<const std::byte> bytes) override {
    if (full) return platform::kEFail;
    return MemorySettingsStore::write(name, bytes);
  }
  std::string location() const override { return kFolder; }
  std::string lastFailureReason() const override { return full ? kReason : ""; }
};

class FillablePlatform : public FakePlatform {
 public:
  FillablePlatform() { store = &fillable; }
  FillableStore fillable;
};

class SheetCloserTest : public ::testing::Test {
 protected:
  SheetCloserTest() {
    activeOptions = classicPreset;
    services_.platform = &platform_;
    EXPECT_TRUE(testing::StoreFirstRunRecords(platform_.fillable, classicPreset));
    sheet_.open();
    // The user's choice: a herd of 77.
    sheet_.selectPage(kHerdPage);
    sheet_.controls(kHerdPage).setText(herd_ids::kHerdLabel, "77");
  }
  ~SheetCloserTest() override { activeOptions = classicPreset; }

  int32_t storedHerd() { return StoredOptions(platform_.fillable, "Options").herdSize; }

  FillablePlatform platform_;
  RecordingServices services_;
  PropertySheet sheet_{services_, platform_.fillable};
  SheetCloser closer_{sheet_};
};

TEST_F(SheetCloserTest, FailedSaveTellsWhereAndWhyAndKeepsTheSheetOpen) {
  platform_.fillable.full = true;
  EXPECT_FALSE(closer_.confirm());
  EXPECT_FALSE(closer_.closed());
  ASSERT_EQ(services_.messages.size(), 1u);
  const std::string& message = services_.messages[0];
  EXPECT_EQ(message.rfind("Grazefall: Your settings could not be saved", 0), 0u) << message;
  EXPECT_NE(message.find(kFolder), std::string::npos) << message;
  EXPECT_NE(message.find(kReason), std::string::npos) << message;
  EXPECT_EQ(storedHerd(), classicPreset.herdSize);

  // Still open: its pages still answer, and the choice is still there.
  sheet_.selectPage(kWindPage);
  EXPECT_TRUE(sheet_.isCreated(kWindPage));
  EXPECT_EQ(activeOptions.herdSize, 77);

  platform_.fillable.full = false;
  EXPECT_TRUE(closer_.confirm());
  EXPECT_TRUE(closer_.closed());
  EXPECT_EQ(storedHerd(), 77);
  EXPECT_EQ(services_.messages.size(), 1u);
}

TEST_F(SheetCloserTest, OkOnEveryPageAfterTheCloseSavesOnce) {
  EXPECT_TRUE(closer_.confirm());
  EXPECT_EQ(storedHerd(), 77);
  const int writes = platform_.fillable.writes();
  // The other pages hear OK too once the sheet has closed; a full store now
  // would be noticed by a second save.
  platform_.fillable.full = true;
  EXPECT_TRUE(closer_.confirm());
  EXPECT_TRUE(closer_.confirm());
  EXPECT_EQ(platform_.fillable.writes(), writes);
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(SheetCloserTest, CancelAfterAFailedSaveClosesWithoutSaving) {
  platform_.fillable.full = true;
  EXPECT_FALSE(closer_.confirm());
  closer_.dismiss();
  EXPECT_TRUE(closer_.closed());

  // The window going away afterwards, with room again, saves nothing.
  platform_.fillable.full = false;
  closer_.dismiss();
  EXPECT_TRUE(closer_.confirm());
  EXPECT_EQ(storedHerd(), classicPreset.herdSize);
}

}  // namespace
}  // namespace grazefall::page_testing
