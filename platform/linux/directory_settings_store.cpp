#include "platform/linux/directory_settings_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/linux/unique_fd.h"
#include "platform/types.h"

namespace grazefall::platform {
namespace {

// Room for the temporary's prefix and random suffix within NAME_MAX (255).
constexpr size_t kMaxValueNameLength = 200;

bool WriteAll(int fd, std::span<const std::byte> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes = bytes.subspan(static_cast<size_t>(written));
  }
  return true;
}

// Whether `path` still names the file open on `fd`.
bool IsNamedBy(int fd, const std::string& path) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
         named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string HomeFromPasswordDatabase() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  if (size <= 0) size = 16384;
  std::vector<char> buffer(static_cast<size_t>(size));
  struct passwd entry {};
  struct passwd* result = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 ||
      result == nullptr || result->pw_dir == nullptr || result->pw_dir[0] != '/') {
    return {};
  }
  return result->pw_dir;
}

}  // namespace

DirectorySettingsStore::DirectorySettingsStore(std::string directory)
    : directory_(WithoutTrailingSlashes(std::move(directory))) {}

std::string DirectorySettingsStore::DefaultDirectory() {
  // A relative or empty XDG_CONFIG_HOME is invalid and ignored.
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome != nullptr && configHome[0] == '/') {
    return WithoutTrailingSlashes(configHome) + "/grazefall";
  }
  const char* homeVariable = std::getenv("HOME");
  std::string home = (homeVariable != nullptr && homeVariable[0] == '/')
                         ? std::string(homeVariable)
                         : HomeFromPasswordDatabase();
  if (home.empty()) return {};
  return WithoutTrailingSlashes(std::move(home)) + "/.config/grazefall";
}

bool DirectorySettingsStore::IsValidValueName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxValueNameLength && name.front() != '.' &&
         name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::string DirectorySettingsStore::pathOf(std::string_view name) const {
  std::string path = directory_;
  path += '/';
  path += name;
  return path;
}

bool DirectorySettingsStore::ensureDirectory() const {
  if (directory_.empty() || directory_.front() != '/') {
    errno = ENOENT;
    return false;
  }
  if (IsDirectory(directory_)) return true;
  // Create each missing component; the XDG rules ask for 0700.
  for (size_t slash = directory_.find('/', 1);; slash = directory_.find('/', slash + 1)) {
    const std::string prefix = directory_.substr(0, slash);
    if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  if (IsDirectory(directory_)) return true;
  // Something that is not a directory holds the directory's name.
  if (errno == EEXIST) errno = ENOTDIR;
  return false;
}

bool DirectorySettingsStore::syncDirectory() const {
  UniqueFd fd(::open(directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.valid()) return false;
  // Some file systems cannot sync a directory; the rename is then as durable
  // as they make it.
  return ::fsync(fd.get()) == 0 || errno == EINVAL;
}

void DirectorySettingsStore::runHook(WriteStage stage) const {
  if (writeHook_) writeHook_(stage);
}

int32_t DirectorySettingsStore::fail(int error) {
  lastError_ = error;
  return kEFail;
}

std::string DirectorySettingsStore::lastFailureReason() const {
  return lastError_ != 0 ? std::string(std::strerror(lastError_)) : std::string();
}

int32_t DirectorySettingsStore::read(std::string_view name, std::span<std::byte> buffer,
                                     size_t* length) {
  return readValue(name, buffer, length) == ReadResult::kRead ? kOk : kEFail;
}

DirectorySettingsStore::ReadResult DirectorySettingsStore::readValue(std::string_view name,
                                                                     std::span<std::byte> buffer,
                                                                     size_t* length) {
  if (!IsValidValueName(name) || directory_.empty()) return ReadResult::kMissing;
  // Non-blocking so that a FIFO planted under a value's name cannot hang the
  // reader; anything but a regular file is refused below.
  UniqueFd fd(::open(pathOf(name).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd.valid()) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kUnreadable;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadResult::kUnreadable;

  // Read one byte more than fits, so a value that is too long (or has grown
  // since fstat) is recognised without touching the caller's buffer.
  std::vector<std::byte> contents(buffer.size() + 1);
  size_t total = 0;
  while (total < contents.size()) {
    const ssize_t got = ::read(fd.get(), contents.data() + total, contents.size() - total);
    if (got < 0) {
      if (errno == EINTR) continue;
      return ReadResult::kUnreadable;
    }
    if (got == 0) break;
    total += static_cast<size_t>(got);
  }
  if (total > buffer.size()) return ReadResult::kTooLong;
  std::memcpy(buffer.data(), contents.data(), total);
  if (length != nullptr) *length = total;
  return ReadResult::kRead;
}

void DirectorySettingsStore::removeStaleTemporaries() const {
  DIR* listing = ::opendir(directory_.c_str());
  if (listing == nullptr) return;
  const std::unique_ptr<DIR, int (*)(DIR*)> closer(listing, &::closedir);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view entryName(entry->d_name);
    if (!entryName.starts_with(kTemporaryPrefix)) continue;
    const std::string path = pathOf(entryName);
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    // A live writer holds its lock until its rename: never wait for it.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
    // Only the file just locked, not one that took its name meanwhile.
    if (IsNamedBy(fd.get(), path)) ::unlink(path.c_str());
  }
}

int32_t DirectorySettingsStore::write(std::string_view name, std::span<const std::byte> bytes) {
  if (!IsValidValueName(name)) return fail(EINVAL);
  if (!ensureDirectory()) return fail(errno);
  if (!staleTemporariesRemoved_) {
    removeStaleTemporaries();
    staleTemporariesRemoved_ = true;
  }

  // The temporary, locked. A cleaner in another process may take the new file
  // between its creation and the lock, so the lock counts only while the
  // name still leads to the locked file. Where the file system has no flock,
  // no cleaner can take the file either.
  std::string temporary;
  UniqueFd fd(-1);
  for (int attempt = 0; attempt < 3 && !fd.valid(); ++attempt) {
    temporary = directory_ + "/";
    temporary += kTemporaryPrefix;
    temporary += name;
    temporary += ".XXXXXX";
    UniqueFd created(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!created.valid()) return fail(errno);
    if (::flock(created.get(), LOCK_EX) != 0 || IsNamedBy(created.get(), temporary))
      fd = std::move(created);
  }
  if (!fd.valid()) return fail(EAGAIN);
  // The lock lives with the open file, so this second descriptor keeps it
  // through the rename after `fd` is closed.
  const UniqueFd lock(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));
  if (!lock.valid()) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return fail(error);
  }

  // The errno of the first call that fails is the reason kept.
  int error = 0;
  const size_t half = bytes.size() / 2;
  bool written = ::fchmod(fd.get(), 0600) == 0 && WriteAll(fd.get(), bytes.first(half));
  if (written) runHook(WriteStage::kTemporaryHalfWritten);
  written = written && WriteAll(fd.get(), bytes.subspan(half)) && ::fsync(fd.get()) == 0;
  if (!written) error = errno;
  if (!fd.close() && written) {
    error = errno;
    written = false;
  }
  if (written) runHook(WriteStage::kTemporarySynced);
  if (written && ::rename(temporary.c_str(), pathOf(name).c_str()) != 0) {
    error = errno;
    written = false;
  }
  if (!written) {
    ::unlink(temporary.c_str());
    return fail(error);
  }
  return syncDirectory() ? kOk : fail(errno);
}

int32_t DirectorySettingsStore::remove(std::string_view name) {
  if (!IsValidValueName(name)) return fail(EINVAL);
  if (!ensureDirectory()) return fail(errno);
  if (::unlink(pathOf(name).c_str()) != 0 && errno != ENOENT) return fail(errno);
  return syncDirectory() ? kOk : fail(errno);
}

}  // namespace grazefall::platform
