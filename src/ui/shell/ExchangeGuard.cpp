#include "ui/shell/ExchangeGuard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>
#include <QWidget>

#include "core/support/ExchangeScope.h"
#include "core/support/Pump.h"
#include "ui/shell/BusyWindow.h"

namespace tessaro {
namespace {

constexpr char kUsableDuringExchange[] = "tessaroUsableDuringExchange";

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Drop:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

// The top-level window an object belongs to; a popup menu belongs to the
// window it opened from, an action to the widget that holds it.
QWidget* OwningWindow(QObject* object) {
  while (object && !object->isWidgetType()) object = object->parent();
  if (!object) return nullptr;
  QWidget* window = static_cast<QWidget*>(object)->window();
  while (window->windowType() == Qt::Popup && window->parentWidget())
    window = window->parentWidget()->window();
  return window;
}

}  // namespace

TExchangeGuard::TExchangeGuard(QObject* parent) : QObject(parent) {
  QCoreApplication::instance()->installEventFilter(this);
  SetPumpHook([] { QCoreApplication::processEvents(); });
}

TExchangeGuard::~TExchangeGuard() {
  SetPumpHook({});
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

void TExchangeGuard::AllowDuringExchange(QWidget* window) {
  window->setProperty(kUsableDuringExchange, true);
}

bool TExchangeGuard::RefusesInput(QObject* object) {
  QWidget* window = OwningWindow(object);
  if (!window) return false;
  if (const auto* busy = dynamic_cast<const BusyWindow*>(window); busy && busy->Busy()) return true;
  return ExchangeInProgress() && !window->property(kUsableDuringExchange).toBool();
}

bool TExchangeGuard::eventFilter(QObject* watched, QEvent* event) {
  if (!IsUserInput(event->type()) || !RefusesInput(watched)) return false;
  event->ignore();  // a refused close leaves the window open
  return true;
}

}  // namespace tessaro
