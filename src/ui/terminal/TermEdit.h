#pragma once
// The text area of the terminal and the monitor: it behaves like a terminal
// screen. Keys go to the owner (KeyDown, then KeyPress with the character)
// instead of editing the text; the editing and caret keys arrive as key 0.
// A click only takes the focus, so the caret never moves and nothing is
// selected. The owner appends the lines; the oldest go beyond kMaxLines.

#include <QPlainTextEdit>

namespace tessaro {

class TTermEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kMaxLines = 5000;

  explicit TTermEdit(QWidget* parent = nullptr);

  // Adds text as a new line at the end and shows it.
  void AppendLine(const QString& text);

 signals:
  void KeyDown(int key, Qt::KeyboardModifiers modifiers);
  void KeyPress(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace tessaro
