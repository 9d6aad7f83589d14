// The posted-message queue and frame timers of a window system that keeps its
// own queue instead of the system's (SDL, headless): messages in the order
// they were posted, WM_TIMER only when nothing else waits and at most one
// pending per window, WM_QUIT after the posted messages and before any tick.
// A helper for backends; the core never includes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>

#include "platform/windowing.h"

namespace grazefall::platform {

class MessageQueue {
 public:
  // --- Posting ---
  // At the back of the queue.
  void post(const Message& message);
  // Ahead of everything queued (a stop request that must win).
  void postFirst(const Message& message);
  // WM_QUIT with `exitCode`, handed out once the posted messages are done.
  void postQuit(int32_t exitCode);

  // --- Taking, in the order getMessage hands them out ---
  // The oldest message that is not a WM_TIMER; false when none waits.
  bool takePosted(Message* message);
  // Whether WM_QUIT was asked for and not yet taken.
  bool quitPending() const { return quitPending_; }
  // WM_QUIT with the code of the last postQuit (0 before any); clears the
  // request.
  Message takeQuit();
  // The oldest WM_TIMER; false when none waits.
  bool takeTimer(Message* message);

  // --- Timers: one per window ---
  // Starts (or restarts) the window's timer: a tick every `periodMs`, the
  // first one period after `now`.
  void startTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs, uint32_t now);
  // Stops the window's timer and takes its queued ticks away.
  void stopTimer(WindowHandle window);
  bool timerRunning(WindowHandle window) const;
  // The timer firing now: a WM_TIMER for the window unless one is already
  // queued or its timer is off. True when one was queued.
  bool tick(WindowHandle window);
  // Fires every timer whose period has run out by `now` and has no tick
  // queued; its next tick is then a period from `now`, so a slow frame
  // lowers the rate instead of queueing ticks to catch up.
  void tickDueTimers(uint32_t now);
  // Milliseconds from `now` until the next timer without a queued tick is
  // due (0 when one is due already); nullopt when no timer can fire.
  std::optional<uint32_t> msUntilNextTick(uint32_t now) const;
  // Takes up to `limit` queued WM_TIMER messages of the window away; how
  // many.
  int32_t removeTimerMessages(WindowHandle window, int32_t limit);

  // Forgets a window that is gone: its queued messages and its timer.
  void dropWindow(WindowHandle window);

  size_t size() const { return queue_.size(); }

 private:
  struct Timer {
    uint32_t id = 0;
    uint32_t periodMs = 0;
    uint32_t due = 0;
  };

  bool tickPending(WindowHandle window) const;

  std::deque<Message> queue_;
  std::map<WindowHandle, Timer> timers_;
  bool quitPending_ = false;
  int32_t quitCode_ = 0;
};

}  // namespace grazefall::platform
