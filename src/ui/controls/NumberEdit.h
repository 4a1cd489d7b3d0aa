#pragma once
// A single-line field that only takes a number. It keeps the value as an
// extended-precision real and writes its text from it: decimal with a fixed
// or maximum number of decimals, optional thousands grouping, or hex;
// optional limits; three rounding modes. The rules are NumberFormat's.

#include <QLineEdit>

#include "core/support/NumberFormat.h"

namespace tessaro {

class TNumberEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TNumberEdit(QWidget* parent = nullptr);

  long double Value() const { return value_; }
  void SetValue(long double value);
  // Rounded with RoundMode and clamped to the 32-bit range.
  int32_t AsInteger() const;

  void SetComma(bool on);
  void SetFigure(int figure);
  void SetFixed(bool on);
  void SetLimit(bool on);
  void SetMin(long double min);
  void SetMax(long double max);
  void SetNumberType(TNumberType type);
  void SetRoundMode(TRoundMode mode) { options_.RoundMode = mode; }
  void SetValidMinus(bool on);
  void SetAutoSelect(bool on) { autoSelect_ = on; }
  const NumberFormatOptions& Options() const { return options_; }

  // What the field does with a paste: only allowed characters go in.
  void PasteText(const QString& clipboard);

 signals:
  void Change();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void TextChanged(const QString& text);
  void Rewrite();
  NumberEditState State() const;
  void SetState(const NumberEditState& state);

  NumberFormatOptions options_;
  long double value_ = 0;
  bool autoSelect_ = true;
  bool rewriting_ = false;
};

}  // namespace tessaro
