#include "platform/linux/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace grazefall::platform {
namespace {

// flock() locks belong to one opening of the file: a second opening, in this
// process or another, cannot take it while the first holds it.
bool TryLock(int fd) {
  return flock(fd, LOCK_EX | LOCK_NB) == 0;
}

}  // namespace

bool InstanceLock::acquire() {
  if (held()) return true;
  if (path_.empty()) return false;
  UniqueFd fd(::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!fd.valid() || !TryLock(fd.get())) return false;
  fd_ = std::move(fd);
  return true;
}

bool InstanceLock::heldElsewhere() const {
  if (held() || path_.empty()) return false;
  UniqueFd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return false;        // no saver has run here yet
  if (TryLock(fd.get())) return false;  // closing the file lets the lock go
  return errno == EWOULDBLOCK;
}

std::string SaverLockPath(const char* runtimeDirectory, const char* waylandDisplay) {
  if (runtimeDirectory == nullptr || *runtimeDirectory == '\0') return {};
  if (waylandDisplay == nullptr || *waylandDisplay == '\0') return {};
  std::string display(waylandDisplay);
  // WAYLAND_DISPLAY may be a path of its own.
  for (char& c : display) {
    if (c == '/') c = '_';
  }
  return std::string(runtimeDirectory) + "/grazefall-saver-" + display + ".lock";
}

}  // namespace grazefall::platform
