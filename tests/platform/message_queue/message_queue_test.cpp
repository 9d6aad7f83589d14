// The queue the SDL and headless window systems share: posting order, ticks
// that wait behind everything else and never pile up, WM_QUIT's place, tick
// removal, and a destroyed window's messages and timer going with it.
#include "platform/message_queue/message_queue.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/messages.h"

namespace grazefall::platform {
namespace {

constexpr WindowHandle kSaver = 0x10;
constexpr WindowHandle kOther = 0x20;
constexpr uint32_t kTimerId = 1;

// Everything the queue hands out, in getMessage's order, up to WM_QUIT.
std::vector<Message> Drain(MessageQueue& queue) {
  std::vector<Message> taken;
  Message message;
  for (;;) {
    if (queue.takePosted(&message)) {
      taken.push_back(message);
    } else if (queue.quitPending()) {
      taken.push_back(queue.takeQuit());
      return taken;
    } else if (queue.takeTimer(&message)) {
      taken.push_back(message);
    } else {
      return taken;
    }
  }
}

std::vector<uint32_t> Kinds(const std::vector<Message>& messages) {
  std::vector<uint32_t> kinds;
  for (const Message& m : messages) kinds.push_back(m.message);
  return kinds;
}

TEST(MessageQueue, PostedMessagesComeOutInTheOrderPosted) {
  MessageQueue queue;
  queue.post(Message{kSaver, kWmKeyDown, 1, 2});
  queue.post(Message{kOther, kWmPaint, 0, 0});
  queue.post(Message{kSaver, kWmMouseMove, 3, 4});
  const std::vector<Message> taken = Drain(queue);
  ASSERT_EQ(Kinds(taken), (std::vector<uint32_t>{kWmKeyDown, kWmPaint, kWmMouseMove}));
  EXPECT_EQ(taken[0].window, kSaver);
  EXPECT_EQ(taken[0].wParam, 1u);
  EXPECT_EQ(taken[0].lParam, 2);
  EXPECT_EQ(taken[1].window, kOther);
}

TEST(MessageQueue, PostFirstGoesAheadOfEverythingQueued) {
  MessageQueue queue;
  queue.post(Message{kSaver, kWmKeyDown, 0, 0});
  queue.postFirst(Message{kSaver, kWmClose, 0, 0});
  EXPECT_EQ(Kinds(Drain(queue)), (std::vector<uint32_t>{kWmClose, kWmKeyDown}));
}

TEST(MessageQueue, TicksWaitUntilNoOtherMessageDoes) {
  MessageQueue queue;
  queue.startTimer(kSaver, kTimerId, 10, 0);
  ASSERT_TRUE(queue.tick(kSaver));
  queue.post(Message{kSaver, kWmKeyDown, 0, 0});
  queue.post(Message{kSaver, kWmPaint, 0, 0});
  const std::vector<Message> taken = Drain(queue);
  ASSERT_EQ(Kinds(taken), (std::vector<uint32_t>{kWmKeyDown, kWmPaint, kWmTimer}));
  EXPECT_EQ(taken[2].window, kSaver);
  EXPECT_EQ(taken[2].wParam, kTimerId);
}

TEST(MessageQueue, AtMostOneTickWaitsPerWindow) {
  MessageQueue queue;
  queue.startTimer(kSaver, kTimerId, 10, 0);
  queue.startTimer(kOther, kTimerId, 10, 0);
  EXPECT_TRUE(queue.tick(kSaver));
  EXPECT_FALSE(queue.tick(kSaver));
  EXPECT_FALSE(queue.tick(kSaver));
  EXPECT_TRUE(queue.tick(kOther));
  EXPECT_EQ(queue.size(), 2u);
  Message message;
  ASSERT_TRUE(queue.takeTimer(&message));
  EXPECT_EQ(message.window, kSaver);
  // Once the pending tick is taken, the next one may queue.
  EXPECT_TRUE(queue.tick(kSaver));
}

TEST(MessageQueue, NoTickWithoutARunningTimer) {
  MessageQueue queue;
  EXPECT_FALSE(queue.tick(kSaver));
  queue.startTimer(kSaver, kTimerId, 10, 0);
  EXPECT_TRUE(queue.timerRunning(kSaver));
  queue.tick(kSaver);
  queue.stopTimer(kSaver);
  EXPECT_FALSE(queue.timerRunning(kSaver));
  EXPECT_FALSE(queue.tick(kSaver));
  // Stopping took the queued tick away too.
  EXPECT_EQ(queue.size(), 0u);
}

TEST(MessageQueue, DueTimersFireOncePerPeriodAndSlowFramesLowerTheRate) {
  MessageQueue queue;
  queue.startTimer(kSaver, kTimerId, 10, 1000);
  queue.tickDueTimers(1009);
  EXPECT_EQ(queue.size(), 0u);  // not yet due
  queue.tickDueTimers(1010);
  EXPECT_EQ(queue.size(), 1u);
  // Far past several periods with the tick still pending: still one.
  queue.tickDueTimers(1050);
  EXPECT_EQ(queue.size(), 1u);
  Message message;
  ASSERT_TRUE(queue.takeTimer(&message));
  // Due again a period after the last tick was queued (1010), not caught up.
  queue.tickDueTimers(1051);
  EXPECT_EQ(queue.size(), 1u);
  ASSERT_TRUE(queue.takeTimer(&message));
  queue.tickDueTimers(1060);
  EXPECT_EQ(queue.size(), 0u);
  queue.tickDueTimers(1061);
  EXPECT_EQ(queue.size(), 1u);
}

TEST(MessageQueue, DueTimersSurviveTheTickCountWrapping) {
  MessageQueue queue;
  queue.startTimer(kSaver, kTimerId, 10, 0xFFFFFFFAu);
  queue.tickDueTimers(0xFFFFFFFFu);
  EXPECT_EQ(queue.size(), 0u);
  queue.tickDueTimers(4);  // 0xFFFFFFFA + 10, wrapped
  EXPECT_EQ(queue.size(), 1u);
}

TEST(MessageQueue, TheWaitForTheNextTickIsTheSoonestTimerWithoutAQueuedTick) {
  MessageQueue queue;
  EXPECT_FALSE(queue.msUntilNextTick(0));
  queue.startTimer(kSaver, kTimerId, 10, 0xFFFFFFFAu);
  queue.startTimer(kOther, kTimerId, 30, 0xFFFFFFFAu);
  EXPECT_EQ(queue.msUntilNextTick(0xFFFFFFFCu), 8u);
  EXPECT_EQ(queue.msUntilNextTick(9), 0u);  // overdue, across the wrap
  queue.tickDueTimers(4);
  // The saver's tick waits in the queue: the other window's timer is next.
  EXPECT_EQ(queue.msUntilNextTick(4), 20u);
  queue.stopTimer(kOther);
  EXPECT_FALSE(queue.msUntilNextTick(4));
}

TEST(MessageQueue, QuitComesAfterPostedMessagesAndBeforeTicks) {
  MessageQueue queue;
  queue.startTimer(kSaver, kTimerId, 10, 0);
  queue.tick(kSaver);
  queue.postQuit(7);
  queue.post(Message{kSaver, kWmDestroy, 0, 0});
  const std::vector<Message> taken = Drain(queue);
  ASSERT_EQ(Kinds(taken), (std::vector<uint32_t>{kWmDestroy, kWmQuit}));
  EXPECT_EQ(taken[1].wParam, 7u);
  EXPECT_FALSE(queue.quitPending());
  // The tick is still there for whoever asks next.
  Message message;
  EXPECT_TRUE(queue.takeTimer(&message));
}

TEST(MessageQueue, TimerMessagesAreRemovedUpToTheLimitForThatWindowOnly) {
  MessageQueue queue;
  queue.post(Message{kSaver, kWmTimer, kTimerId, 0});
  queue.post(Message{kOther, kWmTimer, kTimerId, 0});
  queue.post(Message{kSaver, kWmKeyDown, 0, 0});
  queue.post(Message{kSaver, kWmTimer, kTimerId, 0});
  queue.post(Message{kSaver, kWmTimer, kTimerId, 0});
  EXPECT_EQ(queue.removeTimerMessages(kSaver, 2), 2);
  const std::vector<Message> taken = Drain(queue);
  ASSERT_EQ(Kinds(taken), (std::vector<uint32_t>{kWmKeyDown, kWmTimer, kWmTimer}));
  EXPECT_EQ(taken[1].window, kOther);
  EXPECT_EQ(taken[2].window, kSaver);
  EXPECT_EQ(queue.removeTimerMessages(kSaver, 2), 0);
}

TEST(MessageQueue, ADroppedWindowLosesItsMessagesAndItsTimer) {
  MessageQueue queue;
  queue.startTimer(kSaver, kTimerId, 10, 0);
  queue.startTimer(kOther, kTimerId, 10, 0);
  queue.post(Message{kSaver, kWmPaint, 0, 0});
  queue.post(Message{kOther, kWmPaint, 0, 0});
  queue.tick(kSaver);
  queue.tick(kOther);
  queue.dropWindow(kSaver);
  EXPECT_FALSE(queue.timerRunning(kSaver));
  EXPECT_TRUE(queue.timerRunning(kOther));
  EXPECT_FALSE(queue.tick(kSaver));
  queue.tickDueTimers(100);
  const std::vector<Message> taken = Drain(queue);
  ASSERT_EQ(taken.size(), 2u);
  for (const Message& m : taken) EXPECT_EQ(m.window, kOther);
}

}  // namespace
}  // namespace grazefall::platform
