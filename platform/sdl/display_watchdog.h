// Ends the saver where its own loop can no longer end it. SDL 2.26 waits for
// a Wayland window's first configure event in a loop that never ends once the
// compositor has gone (wl_display_dispatch fails at once, again and again),
// and a stop signal only sets a flag the message loop reads: a compositor
// lost while a window was being made left the saver spinning, deaf to
// SIGTERM. A thread of its own watches
// - a connection of its own to the compositor, which hangs up with every
//   other client's when the compositor ends: the process ends at once with
//   kExitDisplayLost, wherever the main thread is;
// - the stop signals: when the process has not ended kStopGraceMs after one
//   (its loop is not running yet, or is stuck), it ends with 0, as the loop
//   would have ended it.
#pragma once

#include <pthread.h>

#include <atomic>

struct wl_display;

namespace grazefall::platform::sdl {

// The exit status of a saver whose display went away (Xlib's too).
constexpr int kExitDisplayLost = 1;
// How long the loop has to end the process after a stop signal.
constexpr int kStopGraceMs = 1000;

class DisplayWatchdog {
 public:
  DisplayWatchdog() = default;
  ~DisplayWatchdog();
  DisplayWatchdog(const DisplayWatchdog&) = delete;
  DisplayWatchdog& operator=(const DisplayWatchdog&) = delete;

  // Starts the thread; stop signals reach it from then on. One watchdog per
  // process. False when no thread could be had.
  bool start();
  // Also watches the compositor WAYLAND_DISPLAY names; false when none
  // answers there (it has gone already).
  bool watchWayland();
  // Whether the watched compositor has gone.
  bool displayLost() const;
  // The same, asked of the compositor itself: it must answer a round trip
  // within `answerMs`. A compositor that is ending takes its clients' windows
  // and devices away (a focus lost, which ends the saver as a person would)
  // before it hangs up on them, so a saver ending then would miss the loss.
  // One that neither answers nor hangs up in time (frozen) counts as there.
  bool lostBeforeAnswering(int answerMs);

  // Called from a signal handler (async-signal-safe): a stop was asked for.
  static void NoteStopSignal();

 private:
  static void* Run(void* self);
  void run();

  bool started_ = false;
  pthread_t thread_{};
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  wl_display* wayland_ = nullptr;
  std::atomic<int> waylandFd_{-1};
};

}  // namespace grazefall::platform::sdl
