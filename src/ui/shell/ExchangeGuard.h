#pragma once
// Keeps user input from starting a second exchange with the recorder. One
// instance lives for the program's run (after the QApplication): it installs
// the pump hook (waits on the UI thread process window events) and filters
// the application's events. Clicks, keys, shortcuts, wheel turns, context
// menus, drops and close requests are dropped
// - for every window while an exchange is in progress (ExchangeInProgress:
//   a wait is pumping, or the UI thread waits for a worker on the line),
//   except the windows that belong to the running operation: the progress
//   dialog and message boxes (AllowDuringExchange);
// - for a BusyWindow (the main window) while it reports Busy().
// Menus and actions count as part of the window they belong to. Dialog
// handlers therefore need no checks of their own; a dialog's timers use
// TExchangeTimer.

#include <QObject>

class QWidget;

namespace tessaro {

class TExchangeGuard : public QObject {
  Q_OBJECT

 public:
  explicit TExchangeGuard(QObject* parent = nullptr);
  ~TExchangeGuard() override;

  // The window keeps taking input during an exchange: it is part of it.
  static void AllowDuringExchange(QWidget* window);

  // Whether input to object (a widget, menu or action) is dropped now.
  static bool RefusesInput(QObject* object);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tessaro
