#pragma once
// The command box of the terminal and the monitor: an editable drop-down
// of the command history (at most 64 characters). It remembers whether the
// user typed into it since it took the focus, so that leaving it can commit
// a typed command.

#include <QComboBox>

namespace tessaro {

class CommandHistory;

class THistoryBox : public QComboBox {
  Q_OBJECT

 public:
  static constexpr int kMaxCommandLength = 64;

  explicit THistoryBox(QWidget* parent = nullptr);

  // Lists the history and shows text in the edit field.
  void ShowHistory(const CommandHistory& history, const QString& text);
  bool Edited() const { return edited_; }

 signals:
  // The box took the focus (the edited flag is cleared).
  void Entered();
  // The box lost the focus; edited tells whether the user typed meanwhile.
  void Left(bool edited);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool edited_ = false;
};

}  // namespace tessaro
