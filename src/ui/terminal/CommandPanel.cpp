#include "ui/terminal/CommandPanel.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/support/Messages.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"
#include "ui/terminal/HistoryBox.h"
#include "ui/terminal/TermEdit.h"

namespace tessaro {

CommandPanel BuildCommandPanel(QDialog& dialog, std::initializer_list<int> buttonCaptions) {
  dialog.setWindowIcon(AppIcon());
  dialog.setFont(ProportionalFont());
  dialog.setMinimumSize(520, 370);
  dialog.resize(520, 370);

  CommandPanel panel{new TTermEdit, new THistoryBox, {}};
  panel.edit->setFont(FixedFont());
  auto* bottom = new QWidget;
  bottom->setFixedHeight(35);
  auto* row = new QHBoxLayout(bottom);
  row->setContentsMargins(8, 4, 4, 4);
  row->addWidget(new QLabel(Msg(MsgTermCommandLabel)));
  row->addWidget(panel.box, 1);
  for (const int caption : buttonCaptions) {
    auto* button = new QPushButton(Msg(caption));
    button->setFixedSize(75, 25);
    // Enter belongs to the text area and the command box, not to a button.
    button->setAutoDefault(false);
    row->addWidget(button);
    panel.buttons.append(button);
  }
  auto* layout = new QVBoxLayout(&dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panel.edit, 1);
  layout->addWidget(bottom);
  return panel;
}

}  // namespace tessaro
