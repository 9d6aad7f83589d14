// One running saver per user and display where no window of another process
// can be looked up: a lock file that a second opening cannot take.
#include "platform/linux/instance_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace grazefall::platform {
namespace {

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/grazefall-lock.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory_ = pattern;
    path_ = directory_ + "/saver.lock";
  }
  void TearDown() override {
    unlink(path_.c_str());
    rmdir(directory_.c_str());
  }
  std::string directory_;
  std::string path_;
};

TEST_F(InstanceLockTest, OneHolderAtATimeAndFreeOnceReleased) {
  InstanceLock first(path_);
  InstanceLock second(path_);
  EXPECT_FALSE(second.heldElsewhere());  // no saver has run here yet
  ASSERT_TRUE(first.acquire());
  EXPECT_TRUE(first.held());
  EXPECT_FALSE(first.heldElsewhere());  // its own lock is not another's
  EXPECT_TRUE(second.heldElsewhere());
  EXPECT_FALSE(second.acquire());
  // Asking did not take the lock away from its holder.
  EXPECT_TRUE(second.heldElsewhere());
  first.release();
  EXPECT_FALSE(second.heldElsewhere());
  EXPECT_TRUE(second.acquire());
}

TEST_F(InstanceLockTest, EndsWithItsOwner) {
  InstanceLock watcher(path_);
  {
    InstanceLock holder(path_);
    ASSERT_TRUE(holder.acquire());
    EXPECT_TRUE(watcher.heldElsewhere());
  }
  EXPECT_FALSE(watcher.heldElsewhere());
}

TEST(InstanceLock, WithoutAPathNothingIsHeld) {
  InstanceLock lock("");
  EXPECT_FALSE(lock.acquire());
  EXPECT_FALSE(lock.heldElsewhere());
}

TEST(SaverLockPath, PerRuntimeDirectoryAndDisplay) {
  EXPECT_EQ(SaverLockPath("/run/user/1000", "wayland-1"),
            "/run/user/1000/grazefall-saver-wayland-1.lock");
  // A display given as a path stays one file name.
  EXPECT_EQ(SaverLockPath("/run/user/1000", "/tmp/sock/w-0"),
            "/run/user/1000/grazefall-saver-_tmp_sock_w-0.lock");
  EXPECT_EQ(SaverLockPath(nullptr, "wayland-1"), "");
  EXPECT_EQ(SaverLockPath("", "wayland-1"), "");
  EXPECT_EQ(SaverLockPath("/run/user/1000", nullptr), "");
  EXPECT_EQ(SaverLockPath("/run/user/1000", ""), "");
}

}  // namespace
}  // namespace grazefall::platform
