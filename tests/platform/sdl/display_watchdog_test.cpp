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
  for (int i = 0; i < 1000; ++i) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) return status;
    usleep(10000);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return -1;
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
// names, which hangs up on the one client it accepts.
TEST(DisplayWatchdogTest, ACompositorThatHangsUpEndsTheProcessWithDisplayLost) {
  char folder[] = "/tmp/grazefall-watchdog.XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/wayland-test";
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(listener, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 1), 0);

  const pid_t child = fork();
  if (child == 0) {
    setenv("XDG_RUNTIME_DIR", folder, 1);
    setenv("WAYLAND_DISPLAY", "wayland-test", 1);
    static DisplayWatchdog watchdog;
    if (!watchdog.start() || !watchdog.watchWayland()) _exit(90);
    if (watchdog.displayLost()) _exit(91);
    for (;;) pause();
  }
  const int client = accept(listener, nullptr, nullptr);
  EXPECT_GE(client, 0);
  usleep(100000);
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, WNOHANG), 0)
      << "the child ended while its compositor was there";
  close(client);
  int ended = 0;
  for (int i = 0; i < 1000 && ended == 0; ++i) {
    ended = waitpid(child, &status, WNOHANG);
    if (ended == 0) usleep(10000);
  }
  if (ended == 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  close(listener);
  unlink(path.c_str());
  rmdir(folder);
  ASSERT_EQ(ended, child) << "the child still ran 10 s after its compositor hung up";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kExitDisplayLost)
      << "wait status " << status;
}

}  // namespace
}  // namespace grazefall::platform::sdl
