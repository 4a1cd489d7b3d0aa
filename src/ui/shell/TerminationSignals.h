#pragma once
// SIGTERM and SIGHUP (a service stop, timeout(1), a closed session) as a
// request to end the program. The handler only writes a byte into a pipe;
// a socket notifier on the pipe calls onSignal on the UI thread, where the
// program can cancel what runs and close as the exit command does. While
// the object lives the signals no longer kill the process; afterwards their
// default action is back. One object at a time.

#include <QObject>
#include <functional>

#include "core/support/File.h"

class QSocketNotifier;

namespace tessaro {

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
  ~TerminationSignals() override;

  // False when the pipe could not be made: the signals keep their default.
  bool Active() const { return notifier_ != nullptr; }

 private:
  void Drain();

  std::function<void()> onSignal_;
  File readEnd_;
  File writeEnd_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tessaro
