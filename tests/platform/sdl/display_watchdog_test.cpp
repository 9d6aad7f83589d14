#include "platform/sdl/display_watchdog.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace grazefall::platform::sdl {
namespace {

// The child's wait status, or -1 when it has not ended within 10 s (then it
// is killed).
int WaitChild(pid_t child) {
  for (int i = 0; i < 1000; ++i) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) return status;
    usleep(10000);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return -1;
}

// Runs `body` in a child process, which stands still once it returns (as a
// saver stuck in its start would) unless `then` gives its exit status; the
// child's wait status, or -1 when it has not ended within 10 s (then it is
// killed).
template <typename Body>
int InChild(Body body, int then = -1) {
  const pid_t child = fork();
  if (child == 0) {
    body();
    if (then >= 0) _exit(then);
    for (;;) pause();
  }
  return WaitChild(child);
}

bool ExitedWith(int status, int code) {
  return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == code;
}

TEST(DisplayWatchdogTest, AStopSignalTheLoopDoesNotTakeEndsTheProcessWithZero) {
  const int status = InChild([] {
    static DisplayWatchdog watchdog;
    ASSERT_TRUE(watchdog.start());
    DisplayWatchdog::NoteStopSignal();
  });
  EXPECT_TRUE(ExitedWith(status, 0)) << "wait status " << status;
}

TEST(DisplayWatchdogTest, AStopSignalBeforeTheWatchdogStartedCountsToo) {
  const int status = InChild([] {
    DisplayWatchdog::NoteStopSignal();
    static DisplayWatchdog watchdog;
    ASSERT_TRUE(watchdog.start());
  });
  EXPECT_TRUE(ExitedWith(status, 0)) << "wait status " << status;
}

TEST(DisplayWatchdogTest, AProcessThatEndsItselfAfterAStopKeepsItsOwnStatus) {
  // The watchdog goes with its owner: no forced end after that.
  const int status = InChild(
      [] {
        {
          DisplayWatchdog watchdog;
          ASSERT_TRUE(watchdog.start());
          DisplayWatchdog::NoteStopSignal();
        }
        usleep(2 * kStopGraceMs * 1000);
      },
      7);
  EXPECT_TRUE(ExitedWith(status, 7)) << "wait status " << status;
}

// A compositor of the test's own: a listening socket that WAYLAND_DISPLAY
// names, in a folder of its own that goes with it.
struct TestCompositor {
  char folder[32] = "/tmp/grazefall-watchdog.XXXXXX";
  std::string path;
  int listener = -1;

  TestCompositor() {
    if (mkdtemp(folder) == nullptr) return;
    path = std::string(folder) + "/wayland-test";
    listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 1) != 0) {
      close(listener);
      listener = -1;
    }
  }
  ~TestCompositor() {
    if (listener >= 0) close(listener);
    unlink(path.c_str());
    rmdir(folder);
  }
  // In the child: the compositor the watchdog connects to.
  void name() const {
    setenv("XDG_RUNTIME_DIR", folder, 1);
    setenv("WAYLAND_DISPLAY", "wayland-test", 1);
  }
};

// The compositor hangs up on the one client it accepts.
TEST(DisplayWatchdogTest, ACompositorThatHangsUpEndsTheProcessWithDisplayLost) {
  TestCompositor compositor;
  ASSERT_GE(compositor.listener, 0);
  const pid_t child = fork();
  if (child == 0) {
    compositor.name();
    static DisplayWatchdog watchdog;
    if (!watchdog.start() || !watchdog.watchWayland()) _exit(90);
    if (watchdog.displayLost()) _exit(91);
    for (;;) pause();
  }
  const int client = accept(compositor.listener, nullptr, nullptr);
  EXPECT_GE(client, 0);
  usleep(100000);
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, WNOHANG), 0)
      << "the child ended while its compositor was there";
  close(client);
  status = WaitChild(child);
  EXPECT_TRUE(ExitedWith(status, kExitDisplayLost)) << "wait status " << status;
}

// What a test compositor does with the round trip a saver asks of it at its end.
enum class Reply { Answer, HangUp, Nothing };

// The child's exit status: 1 when the round trip saw the compositor gone, 0
// when not; -1 when the child did not end.
int RoundTripSeen(Reply reply) {
  TestCompositor compositor;
  if (compositor.listener < 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    compositor.name();
    DisplayWatchdog watchdog;  // no thread: the round trip alone decides
    if (!watchdog.watchWayland()) _exit(90);
    _exit(watchdog.lostBeforeAnswering(500) ? 1 : 0);
  }
  const int client = accept(compositor.listener, nullptr, nullptr);
  // wl_display.sync: object 1, opcode 0, 12 bytes, the new callback's id.
  uint32_t request[3] = {};
  if (client >= 0 && read(client, request, sizeof request) == sizeof request) {
    if (reply == Reply::Answer) {
      // wl_callback.done on that id, opcode 0, 12 bytes, a serial.
      const uint32_t done[3] = {request[2], 12u << 16, 1};
      [[maybe_unused]] const ssize_t sent = write(client, done, sizeof done);
    }
    if (reply == Reply::HangUp) close(client);
  }
  const int status = WaitChild(child);
  if (client >= 0 && reply != Reply::HangUp) close(client);
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DisplayWatchdogTest, TheRoundTripAtTheEndTellsAnEndingCompositorFromALiveOrFrozenOne) {
  EXPECT_EQ(RoundTripSeen(Reply::Answer), 0) << "a compositor that answered";
  EXPECT_EQ(RoundTripSeen(Reply::HangUp), 1) << "a compositor that hung up instead";
  EXPECT_EQ(RoundTripSeen(Reply::Nothing), 0) << "a frozen compositor";
}

}  // namespace
}  // namespace grazefall::platform::sdl
