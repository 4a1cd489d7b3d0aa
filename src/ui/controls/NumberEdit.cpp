#include "ui/controls/NumberEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <memory>

#include "ui/shell/QtText.h"

namespace tessaro {

TNumberEdit::TNumberEdit(QWidget* parent) : QLineEdit(parent) {
  setAlignment(Qt::AlignRight);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setText(QStringLiteral("0"));
  connect(this, &QLineEdit::textChanged, this, &TNumberEdit::TextChanged);
}

void TNumberEdit::SetValue(long double value) {
  value_ = LimitValue(value, options_);
  Rewrite();
}

int32_t TNumberEdit::AsInteger() const { return ValueAsInt32(value_, options_.RoundMode); }

void TNumberEdit::SetComma(bool on) {
  options_.Comma = on;
  Rewrite();
}

void TNumberEdit::SetFigure(int figure) {
  options_.Figure = figure;
  Rewrite();
}

void TNumberEdit::SetFixed(bool on) {
  options_.Fixed = on;
  Rewrite();
}

void TNumberEdit::SetLimit(bool on) {
  options_.Limit = on;
  Rewrite();
}

void TNumberEdit::SetMin(long double min) {
  options_.Min = min;
  if (options_.Max < min) options_.Max = min;
}

void TNumberEdit::SetMax(long double max) {
  options_.Max = max;
  if (options_.Min > max) options_.Min = max;
}

void TNumberEdit::SetNumberType(TNumberType type) {
  if (options_.NumberType == type) return;
  options_.NumberType = type;
  if (type == TNumberType::ntDecimal) {
    rewriting_ = true;
    setText(ToQt(PlainDecimalText(value_)));
    rewriting_ = false;
  } else {
    Rewrite();
  }
}

void TNumberEdit::SetValidMinus(bool on) {
  options_.ValidMinus = on;
  if (options_.NumberType == TNumberType::ntHex) Rewrite();
}

void TNumberEdit::Rewrite() {
  rewriting_ = true;
  setText(ToQt(FormatNumber(value_, options_)));
  rewriting_ = false;
}

NumberEditState TNumberEdit::State() const {
  NumberEditState state;
  state.text = FromQt(text());
  state.selStart = hasSelectedText() ? selectionStart() : cursorPosition();
  state.selLength = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
  return state;
}

void TNumberEdit::SetState(const NumberEditState& state) {
  setText(ToQt(state.text));
  setCursorPosition(state.selStart);
  if (state.selLength > 0) setSelection(state.selStart, state.selLength);
}

void TNumberEdit::TextChanged(const QString& qtext) {
  if (rewriting_) return;
  const std::string text = FromQt(qtext);
  if (text.empty() || text == "-" || text == "+") {
    value_ = 0;
  } else if (options_.NumberType == TNumberType::ntHex) {
    if (auto v = ParseNumberText(text, options_)) value_ = *v;
  } else {
    std::string shown = StripNumberText(text, options_);
    if (options_.Comma) {
      NumberEditState state = State();
      RegroupKeepingCaret(state, options_);
      if (state.text != text) {
        rewriting_ = true;
        SetState(state);
        rewriting_ = false;
      }
    }
    const std::string rounded =
        RoundDecimalText(shown, options_.Figure, options_.RoundMode, options_.DecimalSeparator);
    if (auto v = ParseNumberText(rounded, options_)) value_ = *v;
  }
  value_ = LimitValue(value_, options_);
  emit Change();
}

void TNumberEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    PasteText(QGuiApplication::clipboard()->text());
    return;
  }
  const QString typed = event->text();
  const bool plainKey = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (typed.size() != 1 || !plainKey || typed[0].unicode() < 0x20) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  NumberEditState state = State();
  switch (HandleNumberKey(state, typed[0].unicode(), options_)) {
    case NumberKeyResult::Insert:
      QLineEdit::keyPressEvent(event);
      break;
    case NumberKeyResult::Swallow:
      event->accept();
      break;
    case NumberKeyResult::Handled:
      SetState(state);
      event->accept();
      break;
  }
}

void TNumberEdit::PasteText(const QString& clipboard) {
  if (clipboard.isEmpty() || isReadOnly()) return;
  NumberEditState state = State();
  PasteNumberText(state, clipboard.toStdU32String(), options_);
  SetState(state);
}

void TNumberEdit::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  // The standard paste would insert any text; route it through the filter.
  for (QAction* action : menu->actions()) {
    if (action->objectName() != QLatin1String("edit-paste")) continue;
    disconnect(action, &QAction::triggered, nullptr, nullptr);
    connect(action, &QAction::triggered, this,
            [this] { PasteText(QGuiApplication::clipboard()->text()); });
  }
  menu->exec(event->globalPos());
}

void TNumberEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // After a mouse click the line edit places the caret itself; select later.
  QTimer::singleShot(0, this, [this] {
    if (!hasFocus()) return;
    if (autoSelect_) {
      selectAll();
    } else {
      end(false);
    }
  });
}

void TNumberEdit::focusOutEvent(QFocusEvent* event) {
  if (auto v = ParseNumberText(FromQt(text()), options_)) value_ = *v;
  Rewrite();
  QLineEdit::focusOutEvent(event);
}

}  // namespace tessaro
