// SIGTERM and SIGINT as a Qt signal on the GUI thread, through a socket pair.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <csignal>
#include <memory>

namespace grazefall::qtui {

// While one lives, SIGTERM and SIGINT do nothing but write a byte to a socket
// (all a signal handler may safely do); the socket's notifier turns the byte
// into stopRequested() on the thread that made the object. The handlers the
// process had before are put back when it goes. One at a time per process.
class StopSignals : public QObject {
  Q_OBJECT
 public:
  explicit StopSignals(QObject* parent = nullptr);
  ~StopSignals() override;
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // False when the socket pair or the handlers could not be set up.
  bool isActive() const { return notifier_ != nullptr; }

 signals:
  void stopRequested();

 private:
  void drain();

  int sockets_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
  struct sigaction previousTerm_ {};
  struct sigaction previousInt_ {};
};

}  // namespace grazefall::qtui
