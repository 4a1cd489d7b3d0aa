#pragma once
// The frame the terminal and the monitor share: the text area filling the
// window above a row with "コマンド", the command box and the buttons.

#include <QList>
#include <initializer_list>

class QDialog;
class QPushButton;

namespace tessaro {

class THistoryBox;
class TTermEdit;

struct CommandPanel {
  TTermEdit* edit;
  THistoryBox* box;
  QList<QPushButton*> buttons;  // in the order of their captions
};

// Builds the frame into dialog (resizable, at least 520 x 370).
CommandPanel BuildCommandPanel(QDialog& dialog, std::initializer_list<int> buttonCaptions);

}  // namespace tessaro
