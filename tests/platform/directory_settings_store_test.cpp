#include "platform/linux/directory_settings_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

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

// Sets or clears an environment variable for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

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
  const auto temporaries = [&] {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(directory)) {
      if (entry.path().filename().string().starts_with(DirectorySettingsStore::kTemporaryPrefix))
        ++count;
    }
    return count;
  };
  EXPECT_EQ(temporaries(), 1);
  ASSERT_EQ(store.write("Options", Bytes(newValue)), kOk);
  EXPECT_EQ(Read(store, "Options"), newValue);
  ASSERT_EQ(DirectorySettingsStore(directory).write("Options", Bytes(oldValue)), kOk);
  EXPECT_EQ(temporaries(), 0);
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

  const auto temporaries = [&] {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with(DirectorySettingsStore::kTemporaryPrefix)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> before = temporaries();
  ASSERT_EQ(before.size(), 5u);

  DirectorySettingsStore store(directory);
  ASSERT_EQ(store.write("Options", Bytes("opts")), kOk);
  const std::vector<std::string> after = temporaries();
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

}  // namespace
}  // namespace grazefall::platform
