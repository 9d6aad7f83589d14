// logind's sleep announcement, sent by dbus-send on a private bus daemon that
// stands in for the system bus.
#include "platform/sdl/sleep_watch.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace grazefall::platform::sdl {
namespace {

class PrivateBus : public ::testing::Test {
 protected:
  void SetUp() override {
    FILE* daemon =
        popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    ASSERT_NE(daemon, nullptr);
    char address[512] = {};
    char pid[32] = {};
    const bool read = std::fgets(address, sizeof address, daemon) != nullptr &&
                      std::fgets(pid, sizeof pid, daemon) != nullptr;
    pclose(daemon);
    if (!read) GTEST_SKIP() << "no dbus-daemon here";
    address_ = address;
    address_.erase(address_.find_last_not_of('\n') + 1);
    daemonPid_ = std::atoi(pid);
  }
  void TearDown() override {
    if (daemonPid_ > 0) kill(daemonPid_, SIGTERM);
  }

  void Announce(bool starting) {
    const std::string command = "dbus-send --bus='" + address_ +
                                "' --type=signal /org/freedesktop/login1 "
                                "org.freedesktop.login1.Manager.PrepareForSleep boolean:" +
                                (starting ? "true" : "false");
    ASSERT_EQ(std::system(command.c_str()), 0);
  }

  // Polls for up to two seconds.
  static bool Announced(SleepWatch& watch) {
    for (int i = 0; i < 200; ++i) {
      if (watch.sleepAnnounced()) return true;
      usleep(10000);
    }
    return false;
  }

  std::string address_;
  int daemonPid_ = 0;
};

TEST_F(PrivateBus, SleepIsAnnouncedOnceAndWakingIsNot) {
  SleepWatch watch;
  ASSERT_TRUE(watch.open(address_.c_str()));
  EXPECT_FALSE(watch.sleepAnnounced());
  Announce(true);
  EXPECT_TRUE(Announced(watch));
  EXPECT_FALSE(watch.sleepAnnounced());
  Announce(false);
  EXPECT_FALSE(Announced(watch));
}

TEST(SleepWatch, NoBusMeansNoAnnouncements) {
  SleepWatch watch;
  EXPECT_FALSE(watch.open("unix:path=/nonexistent/grazefall-bus"));
  EXPECT_FALSE(watch.sleepAnnounced());
}

}  // namespace
}  // namespace grazefall::platform::sdl
