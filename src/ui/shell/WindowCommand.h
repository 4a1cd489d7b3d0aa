#pragma once
// A window-wide command: an action with a shortcut that works anywhere in
// the window, calling one of the window's slots when triggered.

#include <QAction>
#include <QKeySequence>
#include <QString>

namespace tessaro {

template <class Window>
QAction* AddWindowCommand(Window* window, const QString& text, const QKeySequence& shortcut,
                          void (Window::*slot)()) {
  auto* action = new QAction(text, window);
  action->setShortcut(shortcut);
  action->setShortcutContext(Qt::WindowShortcut);
  if (slot) QObject::connect(action, &QAction::triggered, window, slot);
  window->addAction(action);
  return action;
}

}  // namespace tessaro
