#include "platform/message_queue/message_queue.h"

#include <algorithm>

#include "platform/messages.h"

namespace grazefall::platform {
namespace {

bool IsTimer(const Message& message) {
  return message.message == kWmTimer;
}

}  // namespace

void MessageQueue::post(const Message& message) {
  queue_.push_back(message);
}

void MessageQueue::postFirst(const Message& message) {
  queue_.push_front(message);
}

void MessageQueue::postQuit(int32_t exitCode) {
  quitPending_ = true;
  quitCode_ = exitCode;
}

bool MessageQueue::takePosted(Message* message) {
  const auto next =
      std::find_if(queue_.begin(), queue_.end(), [](const Message& m) { return !IsTimer(m); });
  if (next == queue_.end()) return false;
  *message = *next;
  queue_.erase(next);
  return true;
}

Message MessageQueue::takeQuit() {
  quitPending_ = false;
  return Message{0, kWmQuit, static_cast<uintptr_t>(quitCode_), 0};
}

bool MessageQueue::takeTimer(Message* message) {
  const auto next = std::find_if(queue_.begin(), queue_.end(), IsTimer);
  if (next == queue_.end()) return false;
  *message = *next;
  queue_.erase(next);
  return true;
}

void MessageQueue::startTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs,
                              uint32_t now) {
  timers_[window] = Timer{timerId, periodMs, now + periodMs};
}

void MessageQueue::stopTimer(WindowHandle window) {
  timers_.erase(window);
  std::erase_if(queue_, [&](const Message& m) { return m.window == window && IsTimer(m); });
}

bool MessageQueue::timerRunning(WindowHandle window) const {
  return timers_.count(window) != 0;
}

bool MessageQueue::tickPending(WindowHandle window) const {
  return std::any_of(queue_.begin(), queue_.end(),
                     [&](const Message& m) { return m.window == window && IsTimer(m); });
}

bool MessageQueue::tick(WindowHandle window) {
  const auto timer = timers_.find(window);
  if (timer == timers_.end() || tickPending(window)) return false;
  queue_.push_back(Message{window, kWmTimer, timer->second.id, 0});
  return true;
}

void MessageQueue::tickDueTimers(uint32_t now) {
  for (auto& [window, timer] : timers_) {
    if (static_cast<int32_t>(now - timer.due) < 0) continue;
    if (!tick(window)) continue;
    timer.due = now + timer.periodMs;
  }
}

std::optional<uint32_t> MessageQueue::msUntilNextTick(uint32_t now) const {
  std::optional<uint32_t> soonest;
  for (const auto& [window, timer] : timers_) {
    if (tickPending(window)) continue;
    const int32_t left = static_cast<int32_t>(timer.due - now);
    const uint32_t wait = left > 0 ? static_cast<uint32_t>(left) : 0;
    if (!soonest || wait < *soonest) soonest = wait;
  }
  return soonest;
}

int32_t MessageQueue::removeTimerMessages(WindowHandle window, int32_t limit) {
  int32_t removed = 0;
  for (auto it = queue_.begin(); it != queue_.end() && removed < limit;) {
    if (it->window == window && IsTimer(*it)) {
      it = queue_.erase(it);
      ++removed;
    } else {
      ++it;
    }
  }
  return removed;
}

void MessageQueue::dropWindow(WindowHandle window) {
  timers_.erase(window);
  std::erase_if(queue_, [&](const Message& m) { return m.window == window; });
}

}  // namespace grazefall::platform
