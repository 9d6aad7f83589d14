#include "platform/sdl/display_watchdog.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

namespace grazefall::platform::sdl {
namespace {

// What the wake pipe carries, one byte each.
constexpr char kWakeStop = 's';   // a stop signal came
constexpr char kWakeWatch = 'w';  // another descriptor to watch
constexpr char kWakeQuit = 'q';   // the watchdog's owner is going

// The pipe's writing end for the signal handler; -1 while no watchdog runs.
std::atomic<int> gWakeWrite{-1};
// Whether a stop signal came, watchdog or not.
std::atomic<bool> gStopNoted{false};
// Both are touched by a signal handler, which may take no lock.
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

void Wake(int fd, char what) {
  if (fd < 0) return;
  // Non-blocking: a full pipe has woken the thread already.
  [[maybe_unused]] const ssize_t written = write(fd, &what, 1);
}

// Milliseconds from now to `deadline` on the monotonic clock, at least 0.
int MsUntil(const timespec& deadline) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const long long ms =
      (deadline.tv_sec - now.tv_sec) * 1000LL + (deadline.tv_nsec - now.tv_nsec) / 1000000LL;
  return ms > 0 ? static_cast<int>(ms) : 0;
}

timespec MsFromNow(int ms) {
  timespec at{};
  clock_gettime(CLOCK_MONOTONIC, &at);
  at.tv_sec += ms / 1000;
  at.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
  if (at.tv_nsec >= 1000000000L) {
    at.tv_sec += 1;
    at.tv_nsec -= 1000000000L;
  }
  return at;
}

// A person at a terminal gets the reason; the screen-saver machinery does not.
void Say(const char* text) {
  if (isatty(STDERR_FILENO) == 0) return;
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text, std::strlen(text));
}

bool HungUp(int fd) {
  if (fd < 0) return false;
  // No events asked for: only a hang-up or an error wakes it.
  pollfd watched{fd, 0, 0};
  return poll(&watched, 1, 0) > 0 && (watched.revents & (POLLHUP | POLLERR)) != 0;
}

}  // namespace

DisplayWatchdog::~DisplayWatchdog() {
  if (started_) {
    gWakeWrite.store(-1);
    Wake(wakeWrite_, kWakeQuit);
    pthread_join(thread_, nullptr);
  }
  if (wakeRead_ >= 0) close(wakeRead_);
  if (wakeWrite_ >= 0) close(wakeWrite_);
  if (wayland_ != nullptr) wl_display_disconnect(wayland_);
}

bool DisplayWatchdog::start() {
  if (started_) return true;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  wakeRead_ = ends[0];
  wakeWrite_ = ends[1];
  // The thread takes no signal: each one reaches the main thread, whose
  // waits it cuts short.
  sigset_t all;
  sigset_t before;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &before);
  started_ = pthread_create(&thread_, nullptr, &DisplayWatchdog::Run, this) == 0;
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  if (started_) {
    gWakeWrite.store(wakeWrite_);
    // A signal that came before the thread counts from now.
    if (gStopNoted.load()) Wake(wakeWrite_, kWakeStop);
  }
  return started_;
}

bool DisplayWatchdog::watchWayland() {
  if (wayland_ == nullptr) wayland_ = wl_display_connect(nullptr);
  if (wayland_ == nullptr) return false;
  waylandFd_.store(wl_display_get_fd(wayland_));
  Wake(wakeWrite_, kWakeWatch);
  return !displayLost();
}

bool DisplayWatchdog::displayLost() const {
  return HungUp(waylandFd_.load());
}

bool DisplayWatchdog::lostBeforeAnswering(int answerMs) {
  if (wayland_ == nullptr) return false;
  if (displayLost()) return true;
  const int fd = wl_display_get_fd(wayland_);
  bool answered = false;
  static const wl_callback_listener kAnswered{
      [](void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; }};
  wl_callback* callback = wl_display_sync(wayland_);
  if (callback == nullptr) return true;
  wl_callback_add_listener(callback, &kAnswered, &answered);
  const timespec deadline = MsFromNow(answerMs);
  bool lost = false;
  while (!answered && !lost) {
    if (wl_display_flush(wayland_) < 0 && errno != EAGAIN) {
      lost = true;
      break;
    }
    if (wl_display_prepare_read(wayland_) != 0) {
      lost = wl_display_dispatch_pending(wayland_) < 0;
      continue;
    }
    pollfd watched{fd, POLLIN, 0};
    const int ready = poll(&watched, 1, MsUntil(deadline));
    if (ready <= 0) {
      wl_display_cancel_read(wayland_);
      if (ready < 0 && errno == EINTR) continue;
      break;  // no answer in time, or poll itself failed: not a loss seen
    }
    if ((watched.revents & (POLLHUP | POLLERR)) != 0) {
      wl_display_cancel_read(wayland_);
      lost = true;
      break;
    }
    lost = wl_display_read_events(wayland_) < 0 || wl_display_dispatch_pending(wayland_) < 0;
  }
  wl_callback_destroy(callback);
  return lost;
}

void DisplayWatchdog::NoteStopSignal() {
  gStopNoted.store(true);
  Wake(gWakeWrite.load(), kWakeStop);
}

void* DisplayWatchdog::Run(void* self) {
  static_cast<DisplayWatchdog*>(self)->run();
  return nullptr;
}

void DisplayWatchdog::run() {
  bool stopping = false;
  timespec deadline{};
  for (;;) {
    // A negative descriptor (no compositor watched) is passed over by poll.
    pollfd watched[2] = {{wakeRead_, POLLIN, 0}, {waylandFd_.load(), 0, 0}};
    const int ready = poll(watched, 2, stopping ? MsUntil(deadline) : -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (ready == 0) {
      // The loop did not end the process in its time after a stop signal.
      if (stopping) _exit(0);
      continue;
    }
    if ((watched[1].revents & (POLLHUP | POLLERR)) != 0) {
      Say("grazefall: the Wayland compositor has gone\n");
      _exit(kExitDisplayLost);
    }
    if ((watched[0].revents & POLLIN) == 0) continue;
    char bytes[32];
    const ssize_t got = read(wakeRead_, bytes, sizeof bytes);
    for (ssize_t i = 0; i < got; ++i) {
      if (bytes[i] == kWakeQuit) return;
      if (bytes[i] == kWakeStop && !stopping) {
        stopping = true;
        deadline = MsFromNow(kStopGraceMs);
      }
    }
  }
}

}  // namespace grazefall::platform::sdl
