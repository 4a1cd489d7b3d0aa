#include "ui/shell/ModalGauge.h"

#include <QEventLoop>
#include <QThread>
#include <exception>
#include <memory>

#include "core/support/ExchangeScope.h"
#include "core/support/MessageBox.h"
#include "core/support/Messages.h"
#include "ui/shell/GaugeDlg.h"

namespace tessaro {

ModalGauge::ModalGauge(TGaugeDLG& gauge, const std::string& caption)
    : gauge_(gauge), previous_(gauge.windowModality()) {
  gauge_.SetCaption(caption);
  // Modality takes effect when a window is shown.
  gauge_.hide();
  gauge_.setWindowModality(Qt::ApplicationModal);
  gauge_.show();
}

ModalGauge::~ModalGauge() {
  gauge_.hide();
  gauge_.setWindowModality(previous_);
}

void WaitInEventLoop(const std::function<void()>& wait) {
  // The worker holds the line until it ends.
  ExchangeScope busy;
  QEventLoop loop;
  std::unique_ptr<QThread> waiter(QThread::create(wait));
  // Queued: the quit reaches the loop even when the waiter ends before exec.
  QObject::connect(waiter.get(), &QThread::finished, &loop, &QEventLoop::quit,
                   Qt::QueuedConnection);
  waiter->start();
  loop.exec();
  waiter->wait();
}

bool RunBehindGauge(TGaugeDLG& gauge, const std::string& caption,
                    const std::function<std::function<void()>()>& start) {
  std::function<void()> wait;
  {
    ModalGauge shown(gauge, caption);
    try {
      wait = start();
    } catch (const std::exception&) {
      wait = nullptr;
    }
    if (wait) WaitInEventLoop(wait);
  }
  if (wait) return true;
  ShowError(LoadMessage(MsgConvThreadFailed));
  return false;
}

}  // namespace tessaro
