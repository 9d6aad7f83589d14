// The settings key on Linux: one directory, one file per named value holding
// exactly the value's bytes. $XDG_CONFIG_HOME/grazefall, else
// ~/.config/grazefall. Every write lands whole or not at all: the bytes go to a
// temporary file in the same directory, are synced, and the temporary is
// renamed over the value, after which the directory itself is synced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace grazefall::platform {

class DirectorySettingsStore : public SettingsStore {
 public:
  // A store in `directory`. An empty directory makes every operation fail.
  explicit DirectorySettingsStore(std::string directory);

  // The program's settings directory as the environment gives it:
  // $XDG_CONFIG_HOME/grazefall when that is an absolute path, else
  // $HOME/.config/grazefall (the password database's home when HOME is unset
  // or relative). Empty when no home can be found.
  static std::string DefaultDirectory();

  // Value names are plain file names: not empty, no '/', no NUL, not starting
  // with '.' (so neither "." nor ".." nor a temporary can be named), and short
  // enough to leave room for the temporary's decorations.
  static bool IsValidValueName(std::string_view name);

  const std::string& directory() const { return directory_; }

  int32_t read(std::string_view name, std::span<std::byte> buffer, size_t* length) override;

  // What read() found, for a person who wants to know why it failed.
  enum class ReadResult {
    kRead,        // the value fitted; it is in the buffer
    kMissing,     // no file of that name (or no such name can exist)
    kTooLong,     // a regular file longer than the buffer; the buffer is untouched
    kUnreadable,  // not a regular file, or it could not be read
  };
  ReadResult readValue(std::string_view name, std::span<std::byte> buffer, size_t* length);
  int32_t write(std::string_view name, std::span<const std::byte> bytes) override;
  int32_t remove(std::string_view name) override;
  // The directory, and strerror of the call that failed the last failed
  // write or removal.
  std::string location() const override { return directory_; }
  std::string lastFailureReason() const override;

  // Fault injection for tests: the hook runs at each stage of a write, so a
  // test can end the writing process there and look at what survived.
  enum class WriteStage {
    kTemporaryHalfWritten,  // the first half of the bytes is in the temporary
    kTemporarySynced,       // the temporary is complete and synced, not yet renamed
  };
  using WriteHook = std::function<void(WriteStage stage)>;
  void setWriteHook(WriteHook hook) { writeHook_ = std::move(hook); }

  // The prefix every temporary file name starts with. A writer holds an
  // exclusive flock on its temporary until the rename is done; the first
  // write through a store removes every temporary no one holds, the remains
  // of writers that were killed.
  static constexpr std::string_view kTemporaryPrefix = ".tmp-";

 private:
  // Creates the directory (and missing parents) with mode 0700.
  bool ensureDirectory() const;
  std::string pathOf(std::string_view name) const;
  bool syncDirectory() const;
  void runHook(WriteStage stage) const;
  // Keeps `error` (an errno value) as the reason of this failure.
  int32_t fail(int error);
  // Removes the temporaries no live writer holds.
  void removeStaleTemporaries() const;

  std::string directory_;
  WriteHook writeHook_;
  int lastError_ = 0;
  bool staleTemporariesRemoved_ = false;
};

}  // namespace grazefall::platform
