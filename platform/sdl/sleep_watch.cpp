#include "platform/sdl/sleep_watch.h"

#include <dbus/dbus.h>

namespace grazefall::platform::sdl {
namespace {

constexpr const char* kManager = "org.freedesktop.login1.Manager";
constexpr const char* kSleepRule =
    "type='signal',interface='org.freedesktop.login1.Manager',member='PrepareForSleep'";

}  // namespace

SleepWatch::~SleepWatch() {
  if (connection_ != nullptr) {
    dbus_connection_close(connection_);
    dbus_connection_unref(connection_);
  }
}

bool SleepWatch::open(const char* address) {
  if (connection_ != nullptr) return true;
  DBusError error;
  dbus_error_init(&error);
  // A private connection: closing it never disturbs anyone else's.
  if (address == nullptr) {
    connection_ = dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
  } else {
    connection_ = dbus_connection_open_private(address, &error);
    if (connection_ != nullptr && !dbus_bus_register(connection_, &error)) {
      dbus_connection_close(connection_);
      dbus_connection_unref(connection_);
      connection_ = nullptr;
    }
  }
  if (connection_ == nullptr) {
    dbus_error_free(&error);
    return false;
  }
  dbus_connection_set_exit_on_disconnect(connection_, FALSE);
  dbus_bus_add_match(connection_, kSleepRule, &error);
  if (dbus_error_is_set(&error)) {
    dbus_error_free(&error);
    dbus_connection_close(connection_);
    dbus_connection_unref(connection_);
    connection_ = nullptr;
    return false;
  }
  return true;
}

bool SleepWatch::sleepAnnounced() {
  if (connection_ == nullptr) return false;
  if (!dbus_connection_read_write(connection_, 0)) return false;
  bool announced = false;
  while (DBusMessage* message = dbus_connection_pop_message(connection_)) {
    if (dbus_message_is_signal(message, kManager, "PrepareForSleep")) {
      dbus_bool_t starting = FALSE;
      if (dbus_message_get_args(message, nullptr, DBUS_TYPE_BOOLEAN, &starting,
                                DBUS_TYPE_INVALID) &&
          starting) {
        announced = true;
      }
    }
    dbus_message_unref(message);
  }
  return announced;
}

}  // namespace grazefall::platform::sdl
