#include "sheet/qt/stop_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace grazefall::qtui {
namespace {

// The write end of the live object's socket pair; -1 when there is none.
volatile sig_atomic_t signalSocket = -1;

void OnStopSignal(int) {
  const int saved = errno;
  const int fd = signalSocket;
  const char byte = 1;
  // A full socket already holds a pending stop; nothing is lost.
  if (fd >= 0 && ::write(fd, &byte, 1) < 0) {
  }
  errno = saved;
}

}  // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, sockets_) != 0) {
    sockets_[0] = sockets_[1] = -1;
    return;
  }
  signalSocket = sockets_[1];
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, &previousTerm_);
  sigaction(SIGINT, &action, &previousInt_);
  notifier_ = std::make_unique<QSocketNotifier>(sockets_[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &StopSignals::drain);
}

StopSignals::~StopSignals() {
  if (sockets_[0] < 0) return;
  sigaction(SIGTERM, &previousTerm_, nullptr);
  sigaction(SIGINT, &previousInt_, nullptr);
  signalSocket = -1;
  notifier_.reset();
  ::close(sockets_[0]);
  ::close(sockets_[1]);
}

void StopSignals::drain() {
  char bytes[64];
  while (::read(sockets_[0], bytes, sizeof bytes) > 0) {
  }
  emit stopRequested();
}

}  // namespace grazefall::qtui
