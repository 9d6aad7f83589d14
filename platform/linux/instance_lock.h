// One running saver per user and display where no window of another process
// can be looked up (Wayland): a running saver holds an advisory lock on a
// file in the user's runtime directory, which the system lets go of when the
// process ends, however it ends.
#pragma once

#include <string>
#include <utility>

#include "platform/linux/unique_fd.h"

namespace grazefall::platform {

class InstanceLock {
 public:
  // `path` empty: no lock can be had and none is held elsewhere.
  explicit InstanceLock(std::string path) : path_(std::move(path)) {}

  // Takes the lock for this process; false when another process holds it or
  // the file cannot be made.
  bool acquire();
  bool held() const { return fd_.valid(); }
  // Whether a process other than this one holds the lock now.
  bool heldElsewhere() const;
  void release() { fd_.close(); }

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  UniqueFd fd_{-1};
};

// The lock file for the saver on Wayland display `waylandDisplay` in
// `runtimeDirectory` ($XDG_RUNTIME_DIR); empty when either is missing.
std::string SaverLockPath(const char* runtimeDirectory, const char* waylandDisplay);

}  // namespace grazefall::platform
