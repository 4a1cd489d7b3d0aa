#pragma once
// A QTimer for handlers that talk to the recorder (a clock refresh, a
// monitor loop): a tick that comes while an exchange is in progress is
// dropped, so the handler never runs inside another exchange. The timer
// keeps running; a single-shot timer fires one interval later instead.
//
//   auto* timer = new TExchangeTimer(this);   // instead of new QTimer(this)
//   timer->setInterval(500);
//   connect(timer, &QTimer::timeout, this, &TTimeDLG::SecTimerTimer);

#include <QTimer>

namespace tessaro {

class TExchangeTimer : public QTimer {
  Q_OBJECT

 public:
  using QTimer::QTimer;

 protected:
  void timerEvent(QTimerEvent* event) override;
};

}  // namespace tessaro
