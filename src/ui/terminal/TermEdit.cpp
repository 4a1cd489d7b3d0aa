#include "ui/terminal/TermEdit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace tessaro {
namespace {

bool IsEditingKey(int key) {
  switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
      return true;
    default:
      return false;
  }
}

}  // namespace

TTermEdit::TTermEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setUndoRedoEnabled(false);
  setMaximumBlockCount(kMaxLines);
  setContextMenuPolicy(Qt::NoContextMenu);
  // The owner decides what a key does; the text itself is never edited.
  setTextInteractionFlags(Qt::NoTextInteraction);
  setFocusPolicy(Qt::StrongFocus);
}

void TTermEdit::AppendLine(const QString& text) {
  appendPlainText(text);
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void TTermEdit::keyPressEvent(QKeyEvent* event) {
  // Escape belongs to the dialog (it closes it, as "ｷｬﾝｾﾙ" does).
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  event->accept();
  if (IsEditingKey(event->key())) {
    emit KeyDown(0, event->modifiers());
    return;
  }
  emit KeyDown(event->key(), event->modifiers());
  if (!event->text().isEmpty()) emit KeyPress(event->text());
}

void TTermEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QPlainTextEdit::mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
}

void TTermEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) setFocus(Qt::MouseFocusReason);
}

void TTermEdit::mouseMoveEvent(QMouseEvent*) {}

}  // namespace tessaro
