// The system going to sleep, as logind announces it on the system bus
// (org.freedesktop.login1.Manager.PrepareForSleep with true). Without a
// system bus, or without logind, nothing is ever announced.
#pragma once

struct DBusConnection;

namespace grazefall::platform::sdl {

class SleepWatch {
 public:
  SleepWatch() = default;
  ~SleepWatch();
  SleepWatch(const SleepWatch&) = delete;
  SleepWatch& operator=(const SleepWatch&) = delete;

  // Listens on the system bus, or on the bus at `address` when one is given;
  // false when there is none to listen on.
  bool open(const char* address = nullptr);
  // True when a sleep was announced since the last call. Never waits.
  bool sleepAnnounced();

 private:
  DBusConnection* connection_ = nullptr;
};

}  // namespace grazefall::platform::sdl
