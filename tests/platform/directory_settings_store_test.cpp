#include "platform/linux/directory_settings_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/types.h"
#include "tests/support/scoped_env.h"
#include "tests/support/store_temporaries.h"

namespace grazefall::platform {
namespace {

namespace fs = std::filesystem;
using Stage = DirectorySettingsStore::WriteStage;

std::vector<std::byte> Bytes(std::string_view text) {
  std::vector<std::byte> bytes;
  for (char c : text) bytes.push_back(static_cast<std::byte>(c));
  return bytes;
}

std::string FileContents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using grazefall::testing::ScopedEnv;
using grazefall::testing::TemporariesIn;
using grazefall::testing::ValuesIn;

class DirectoryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "grazefall-store-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Read(DirectorySettingsStore& store, std::string_view name, size_t capacity = 352) {
    std::vector<std::byte> buffer(capacity, std::byte{'#'});
    size_t length = 0;
    if (store.read(name, buffer, &length) != kOk) return "<fail>";
    std::string text;
    for (size_t i = 0; i < length; ++i) text += static_cast<char>(buffer[i]);
    return text;
  }

  // Runs a write of `value` in a child process that is killed at `stage`.
  void WriteKilledAt(const std::string& directory, std::string_view name, std::string_view value,
                     Stage stage) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      DirectorySettingsStore store(directory);
      store.setWriteHook([stage](Stage reached) {
        if (reached == stage) ::kill(::getpid(), SIGKILL);
      });
      store.write(name, Bytes(value));
      ::_exit(0);  // not reached when the hook fires
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  }

  fs::path root_;
};

TEST_F(DirectoryStoreTest, DirectoryFollowsTheXdgRules) {
  ScopedEnv home("HOME", "/home/grazer");
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/etc/xdg-test/");
    EXPECT_EQ(DirectorySettingsStore::DefaultDirectory(), "/etc/xdg-test/grazefall");
  }
  for (const char* ignored : {"", "relative/config", "./here"}) {
    ScopedEnv config("XDG_CONFIG_HOME", ignored);
    EXPECT_EQ(DirectorySettingsStore::DefaultDirectory(), "/home/grazer/.config/grazefall")
        << "XDG_CONFIG_HOME=" << ignored;
  }
  ScopedEnv config("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(DirectorySettingsStore::DefaultDirectory(), "/home/grazer/.config/grazefall");
}

TEST_F(DirectoryStoreTest, ValuesAreFilesOfExactlyTheirBytesWithPrivateModes) {
  ScopedEnv config("XDG_CONFIG_HOME", root_.c_str());
  DirectorySettingsStore store(DirectorySettingsStore::DefaultDirectory());
  const fs::path directory = root_ / "grazefall";
  EXPECT_FALSE(fs::exists(directory));

  const std::string value("moo\0moo", 7);
  ASSERT_EQ(store.write("Options", Bytes(value)), kOk);
  EXPECT_EQ(FileContents(directory / "Options"), value);
  EXPECT_EQ(Read(store, "Options"), value);

  struct stat info {};
  ASSERT_EQ(::stat(directory.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat((directory / "Options").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  // Overwriting replaces the whole value, shorter or not.
  ASSERT_EQ(store.write("Options", Bytes("hi")), kOk);
  EXPECT_EQ(Read(store, "Options"), "hi");
  ASSERT_EQ(store.remove("Options"), kOk);
  EXPECT_EQ(Read(store, "Options"), "<fail>");
  EXPECT_EQ(store.remove("Options"), kOk);
  EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 0);
}

TEST_F(DirectoryStoreTest, ReadsRefuseLongValuesAndOddFilesWithoutTouchingTheBuffer) {
  DirectorySettingsStore store((root_ / "grazefall").string());
  ASSERT_EQ(store.write("Long", Bytes(std::string(353, 'x'))), kOk);
  std::vector<std::byte> buffer(352, std::byte{7});
  size_t length = 99;
  EXPECT_EQ(store.read("Long", buffer, &length), kEFail);
  EXPECT_EQ(buffer, std::vector<std::byte>(352, std::byte{7}));
  EXPECT_EQ(length, 99u);

  // A short value fills only its own length.
  ASSERT_EQ(store.write("Short", Bytes("abc")), kOk);
  ASSERT_EQ(store.read("Short", buffer, &length), kOk);
  EXPECT_EQ(length, 3u);
  EXPECT_EQ(buffer[2], std::byte{'c'});
  EXPECT_EQ(buffer[3], std::byte{7});

  // A directory or a FIFO under a value's name is no value (and does not hang).
  fs::create_directory(root_ / "grazefall" / "Dir");
  ASSERT_EQ(::mkfifo((root_ / "grazefall" / "Fifo").c_str(), 0600), 0);
  EXPECT_EQ(store.read("Dir", buffer, &length), kEFail);
  EXPECT_EQ(store.read("Fifo", buffer, &length), kEFail);
  EXPECT_EQ(store.read("Missing", buffer, &length), kEFail);
}

TEST_F(DirectoryStoreTest, NamesThatCouldLeaveTheDirectoryAreRefused) {
  const fs::path directory = root_ / "inner" / "grazefall";
  DirectorySettingsStore store(directory.string());
  ASSERT_EQ(store.write("Options", Bytes("ok")), kOk);
  fs::create_directories(root_ / "inner" / "victim");
  for (std::string_view name :
       {"", ".", "..", "../victim/x", "a/b", "/etc/passwd", ".hidden", ".tmp-Options.abcdef"}) {
    EXPECT_EQ(store.write(name, Bytes("x")), kEFail) << name;
    EXPECT_EQ(store.remove(name), kEFail) << name;
    EXPECT_EQ(Read(store, name), "<fail>") << name;
  }
  EXPECT_EQ(store.write(std::string_view("nul\0name", 8), Bytes("x")), kEFail);
  EXPECT_EQ(store.write(std::string(201, 'n'), Bytes("x")), kEFail);
  EXPECT_TRUE(fs::is_empty(root_ / "inner" / "victim"));
  EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);
}

TEST_F(DirectoryStoreTest, UnusableDirectoryFailsEveryOperation) {
  // A file where the directory should be: nothing can be created under it,
  // which also holds for root, who ignores permission bits.
  std::ofstream(root_ / "blocker") << "not a directory";
  // Each failure names the directory and the system's reason.
  for (const fs::path& directory : {root_ / "blocker", root_ / "blocker" / "grazefall"}) {
    DirectorySettingsStore store(directory.string());
    EXPECT_EQ(store.lastFailureReason(), "");
    EXPECT_EQ(store.write("Options", Bytes("x")), kEFail);
    EXPECT_EQ(store.location(), directory.string());
    EXPECT_EQ(store.lastFailureReason(), std::strerror(ENOTDIR)) << directory;
    EXPECT_EQ(store.remove("Options"), kEFail);
    EXPECT_EQ(store.lastFailureReason(), std::strerror(ENOTDIR)) << directory;
    EXPECT_EQ(Read(store, "Options"), "<fail>");
  }
  EXPECT_EQ(FileContents(root_ / "blocker"), "not a directory");

  DirectorySettingsStore nowhere("");
  EXPECT_EQ(nowhere.write("Options", Bytes("x")), kEFail);
  EXPECT_EQ(Read(nowhere, "Options"), "<fail>");
  DirectorySettingsStore relative("relative/dir");
  EXPECT_EQ(relative.write("Options", Bytes("x")), kEFail);
}

TEST_F(DirectoryStoreTest, WriterKilledMidWayLeavesTheOldValueWhole) {
  const std::string directory = (root_ / "grazefall").string();
  DirectorySettingsStore store(directory);
  const std::string oldValue(352, 'o');
  const std::string newValue(352, 'n');
  ASSERT_EQ(store.write("Options", Bytes(oldValue)), kOk);

  for (Stage stage : {Stage::kTemporaryHalfWritten, Stage::kTemporarySynced}) {
    WriteKilledAt(directory, "Options", newValue, stage);
    EXPECT_EQ(Read(store, "Options"), oldValue);
  }
  // A killed writer leaves its temporary, which is no value; the next
  // writer's first write takes it away, so only the last one is left.
  EXPECT_EQ(TemporariesIn(directory).size(), 1u);
  ASSERT_EQ(store.write("Options", Bytes(newValue)), kOk);
  EXPECT_EQ(Read(store, "Options"), newValue);
  ASSERT_EQ(DirectorySettingsStore(directory).write("Options", Bytes(oldValue)), kOk);
  EXPECT_EQ(TemporariesIn(directory), std::vector<std::string>{});
}

TEST_F(DirectoryStoreTest, StaleTemporariesGoButALiveWritersStays) {
  const std::string directory = (root_ / "grazefall").string();
  DirectorySettingsStore(directory).write("Classic", Bytes("old"));
  // A live writer in another process, stopped half-way through its temporary
  // (its own first write has swept the directory already).
  int reached[2];
  int resume[2];
  ASSERT_EQ(::pipe(reached), 0);
  ASSERT_EQ(::pipe(resume), 0);
  const pid_t writer = ::fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    ::close(reached[0]);
    ::close(resume[1]);
    DirectorySettingsStore store(directory);
    store.setWriteHook([&](Stage stage) {
      if (stage != Stage::kTemporaryHalfWritten) return;
      char byte = 'h';
      if (::write(reached[1], &byte, 1) != 1 || ::read(resume[0], &byte, 1) != 1) ::_exit(3);
    });
    ::_exit(store.write("Classic", Bytes("new")) == kOk ? 0 : 1);
  }
  ::close(reached[1]);
  ::close(resume[0]);
  char byte = 0;
  ASSERT_EQ(::read(reached[0], &byte, 1), 1);
  // Writers killed mid-way left these behind; a directory of that name is
  // nothing a writer makes and stays.
  for (const char* stale : {".tmp-Options.aaaaaa", ".tmp-Custom.bbbbbb", ".tmp-Options.cccccc"})
    std::ofstream(root_ / "grazefall" / stale) << "half a record";
  fs::create_directory(root_ / "grazefall" / ".tmp-Odd.dddddd");

  const std::vector<std::string> before = TemporariesIn(directory);
  ASSERT_EQ(before.size(), 5u);

  DirectorySettingsStore store(directory);
  ASSERT_EQ(store.write("Options", Bytes("opts")), kOk);
  const std::vector<std::string> after = TemporariesIn(directory);
  ASSERT_EQ(after.size(), 2u);
  EXPECT_TRUE(after[0].starts_with(".tmp-Classic.")) << after[0] << ": the live writer's";
  EXPECT_EQ(after[1], ".tmp-Odd.dddddd");

  // The writer finishes undisturbed.
  ASSERT_EQ(::write(resume[1], "r", 1), 1);
  int status = 0;
  ASSERT_EQ(::waitpid(writer, &status, 0), writer);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(Read(store, "Classic"), "new");
  EXPECT_EQ(Read(store, "Options"), "opts");
  ::close(reached[0]);
  ::close(resume[1]);
}

TEST_F(DirectoryStoreTest, WriterKilledBeforeTheFirstValueLeavesNoValue) {
  const std::string directory = (root_ / "grazefall").string();
  WriteKilledAt(directory, "Custom", std::string(352, 'c'), Stage::kTemporarySynced);
  DirectorySettingsStore store(directory);
  EXPECT_EQ(Read(store, "Custom"), "<fail>");
}

// Torture: a real writer process, writing whole 352-byte records over and
// over, is killed with SIGKILL at random moments. After each kill every value
// on disk must be exactly one of the records written to it (never torn, never
// empty), and a value once written must never go missing; a new store must
// then write and read as usual. The kill moments come from a fixed seed,
// printed with any failure. 100 kills by default; GRAZEFALL_TORTURE_KILLS=1000
// asks for more, and GRAZEFALL_TORTURE_SEED=N replays another seed.
namespace torture {

// The values the writer alternates between, two records each. The two records
// of a value differ at every byte, so any mixture of them, any prefix and any
// padding is neither.
struct TorturedValue {
  const char* name;
  std::string records[2];
};

std::string Record(char first, char step) {
  std::string record(352, '\0');
  for (size_t i = 0; i < record.size(); ++i)
    record[i] = static_cast<char>(first + static_cast<char>(i % 7) * step);
  return record;
}

const std::array<TorturedValue, 2>& Values() {
  static const std::array<TorturedValue, 2> values = {
      TorturedValue{"Options", {Record('A', 1), Record('a', 2)}},
      TorturedValue{"Halloween", {Record('0', 1), Record('!', 3)}},
  };
  return values;
}

// Shared with the writer: how many writes of each value it has finished.
struct Progress {
  std::atomic<uint64_t> finished[2];
};

uint64_t FromEnvironment(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || text[0] == '\0') return fallback;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  return (end != nullptr && *end == '\0' && value > 0) ? value : fallback;
}

// The writer: alternates the records of every value until it is killed. It
// dies with the test, and on its own after a minute.
[[noreturn]] void WriteForever(const std::string& directory, Progress* progress) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  ::alarm(60);
  DirectorySettingsStore store(directory);
  for (uint64_t round = 0;; ++round) {
    for (size_t v = 0; v < Values().size(); ++v) {
      if (store.write(Values()[v].name, Bytes(Values()[v].records[round % 2])) != kOk) ::_exit(4);
      progress->finished[v].fetch_add(1);
    }
  }
}

// Kills and reaps the writer however the round ends, never waiting long.
class Writer {
 public:
  explicit Writer(pid_t pid) : pid_(pid) {}
  ~Writer() { killAndReap(); }
  // The writer's end: killed by SIGKILL is the only good one. Gives up after
  // ten seconds.
  std::string killAndReap() {
    if (pid_ <= 0) return "no writer";
    ::kill(pid_, SIGKILL);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    pid_t reaped = 0;
    while ((reaped = ::waitpid(pid_, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    pid_ = -1;
    if (reaped <= 0) return "the writer did not die within ten seconds";
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return {};
    return "the writer ended otherwise than by the kill, status " + std::to_string(status);
  }

 private:
  pid_t pid_;
};

}  // namespace torture

TEST_F(DirectoryStoreTest, WriterKilledAtRandomMomentsLeavesEveryValueWhole) {
  using namespace torture;
  const uint64_t kills = FromEnvironment("GRAZEFALL_TORTURE_KILLS", 100);
  const uint64_t seed = FromEnvironment("GRAZEFALL_TORTURE_SEED", 20261209);
  SCOPED_TRACE("kill moments from seed " + std::to_string(seed) +
               " (replay with GRAZEFALL_TORTURE_SEED=" + std::to_string(seed) + ")");
  std::mt19937_64 moments(seed);
  const std::string directory = (root_ / "grazefall").string();

  void* shared =
      ::mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(shared, MAP_FAILED);
  const std::unique_ptr<void, void (*)(void*)> unmap(
      shared, [](void* memory) { ::munmap(memory, sizeof(Progress)); });
  Progress* progress = new (shared) Progress{};
  // Writes that finished, the writer's and this test's: once a value's count
  // is above zero the value must exist.
  std::array<uint64_t, 2> everWritten{};

  for (uint64_t kill = 1; kill <= kills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill) + " of " + std::to_string(kills));
    for (auto& finished : progress->finished) finished.store(0);
    // The moment: after a random number of the writer's finished writes (none
    // included, so a writer dies before its first write too), then a random
    // pause of up to two milliseconds, which lands anywhere in a write.
    const uint64_t afterWrites = moments() % 4;
    const auto pause = std::chrono::microseconds(moments() % 2000);

    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) WriteForever(directory, progress);
    Writer writer(pid);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const auto writesFinished = [&] {
      return progress->finished[0].load() + progress->finished[1].load();
    };
    while (writesFinished() < afterWrites && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    ASSERT_GE(writesFinished(), afterWrites) << "the writer made no progress in ten seconds";
    std::this_thread::sleep_for(pause);
    const std::string end = writer.killAndReap();
    ASSERT_EQ(end, "");

    DirectorySettingsStore store(directory);
    for (size_t v = 0; v < Values().size(); ++v) {
      const TorturedValue& value = Values()[v];
      everWritten[v] += progress->finished[v].load();
      std::vector<std::byte> buffer(352);
      size_t length = 0;
      const auto result = store.readValue(value.name, buffer, &length);
      if (result == DirectorySettingsStore::ReadResult::kMissing) {
        ASSERT_EQ(everWritten[v], 0u) << value.name << " went missing after being written";
        continue;
      }
      ASSERT_EQ(result, DirectorySettingsStore::ReadResult::kRead) << value.name;
      const std::string found(reinterpret_cast<const char*>(buffer.data()), length);
      ASSERT_TRUE(found == value.records[0] || found == value.records[1])
          << value.name << " is torn: " << length << " bytes, starting '" << found.substr(0, 16)
          << "'";
    }
    // Nothing but the values and the killed writer's temporaries.
    for (const std::string& name : ValuesIn(directory)) {
      ASSERT_TRUE(name == Values()[0].name || name == Values()[1].name) << name;
    }

    // A new store writes and reads as usual, and sweeps the temporaries.
    const TorturedValue& value = Values()[kill % 2];
    const std::string& record = value.records[(kill / 2) % 2];
    ASSERT_EQ(store.write(value.name, Bytes(record)), kOk) << store.lastFailureReason();
    ++everWritten[kill % 2];
    ASSERT_EQ(Read(store, value.name), record);
    ASSERT_EQ(TemporariesIn(directory), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace grazefall::platform
