#include "ui/shell/ExchangeTimer.h"

#include <QTimerEvent>

#include "core/support/ExchangeScope.h"

namespace tessaro {

void TExchangeTimer::timerEvent(QTimerEvent* event) {
  // Not stopping a single-shot timer here leaves it armed for the next
  // interval.
  if (event->timerId() == timerId() && ExchangeInProgress()) return;
  QTimer::timerEvent(event);
}

}  // namespace tessaro
