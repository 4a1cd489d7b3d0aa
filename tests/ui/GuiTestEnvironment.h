#pragma once
// Helpers shared by the GUI tests. The QApplication is made once for the
// program by a global test environment (offscreen unless a platform is set).

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace tessaro {

// Runs the event loop until done() or timeoutMs; returns done().
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeoutMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// Runs fn from the event loop as soon as a modal dialog has started.
inline void WhenModal(std::function<void()> fn) { QTimer::singleShot(0, std::move(fn)); }

// Runs fn with the modal dialog once one is up (polling from the event
// loop, so whatever opens the dialog may start later).
inline void WhenModalAppears(std::function<void(QWidget*)> fn) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, fn = std::move(fn)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    timer->stop();
    timer->deleteLater();
    fn(modal);
  });
  timer->start();
}

}  // namespace tessaro
