#include "ui/terminal/HistoryBox.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include "core/term/CommandHistory.h"
#include "ui/shell/QtText.h"

namespace tessaro {

THistoryBox::THistoryBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxVisibleItems(10);
  lineEdit()->setMaxLength(kMaxCommandLength);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
  connect(lineEdit(), &QLineEdit::textEdited, this, [this] { edited_ = true; });
}

void THistoryBox::ShowHistory(const CommandHistory& history, const QString& text) {
  const QSignalBlocker quiet(this);
  clear();
  for (const std::string& entry : history.Entries()) addItem(ToQt(entry));
  setEditText(text);
}

void THistoryBox::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  if (event->reason() == Qt::PopupFocusReason) return;
  edited_ = false;
  emit Entered();
}

void THistoryBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  // Opening the list is not leaving the box.
  if (event->reason() == Qt::PopupFocusReason) return;
  const bool edited = edited_;
  edited_ = false;
  emit Left(edited);
}

void THistoryBox::keyPressEvent(QKeyEvent* event) {
  edited_ = true;
  QComboBox::keyPressEvent(event);
}

}  // namespace tessaro
