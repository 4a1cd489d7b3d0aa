#include "ui/terminal/InputDlg.h"

#include <QPushButton>

#include "core/support/CodePage.h"
#include "core/support/MessageBox.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/ExchangeTimer.h"
#include "ui/shell/QtText.h"
#include "ui/terminal/CommandPanel.h"
#include "ui/terminal/HistoryBox.h"
#include "ui/terminal/TermEdit.h"

namespace tessaro {
namespace {

constexpr const char* kHistorySection = "INPUT";
constexpr const char* kFirstCommand = "ver";

}  // namespace

TInputDLG::TInputDLG(AppSession& session, QWidget* parent)
    : TCommandDialog(parent),
      line_(session.Line()),
      historyFile_(session.Paths().commandHistoryFile),
      monitor_(kFirstCommand) {
  const CommandPanel panel = BuildCommandPanel(*this, {MsgChangeButton, MsgCancelButton});
  output_ = panel.edit;
  cmdList_ = panel.box;
  changeButton_ = panel.buttons[0];
  cancelButton_ = panel.buttons[1];

  recvTimer_ = new TExchangeTimer(this);
  recvTimer_->setInterval(kTickMs);
  connect(recvTimer_, &QTimer::timeout, this, &TInputDLG::RecvTimerTimer);
  connect(changeButton_, &QPushButton::clicked, this, &TInputDLG::ChangeClick);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(cmdList_, &QComboBox::editTextChanged, this, [this] { changeButton_->setEnabled(true); });
  connect(cmdList_, &THistoryBox::Entered, recvTimer_, &QTimer::stop);
  connect(cmdList_, &THistoryBox::Left, this, [this](bool edited) {
    if (edited) Commit();
    if (!closed_) recvTimer_->start();
  });

  if (!history_.Load(historyFile_, kHistorySection)) ShowError(LoadMessage(MsgHistoryAccess));
  cmdList_->ShowHistory(history_, kFirstCommand);
  changeButton_->setEnabled(false);
  ShowCaption();
}

void TInputDLG::showEvent(QShowEvent* event) {
  TCommandDialog::showEvent(event);
  ShowCaption();
  output_->setFocus();
  recvTimer_->start();
}

void TInputDLG::done(int result) {
  recvTimer_->stop();
  if (!closed_ && !history_.Save(historyFile_, kHistorySection))
    ShowError(LoadMessage(MsgHistoryAccess));
  closed_ = true;
  TCommandDialog::done(result);
}

void TInputDLG::ShowCaption() {
  setWindowTitle(ToQt(FormatMessage(MsgInputCaption, Cp932ToUtf8(monitor_.Command()).c_str())));
}

void TInputDLG::RecvTimerTimer() {
  recvTimer_->stop();
  const MonitorStep step = monitor_.Exchange(line_);
  if (closed_) return;
  if (step.outcome == MonitorStep::GaveUp) {
    ShowError(LoadMessage(MsgNoEchoBack));
    reject();
    return;
  }
  if (step.outcome == MonitorStep::Listed) {
    output_->AppendLine(ToQt(Cp932ToUtf8(step.line)));
    output_->repaint();
  }
  recvTimer_->start();
}

void TInputDLG::ChangeClick() {
  recvTimer_->stop();
  Commit();
  recvTimer_->start();
  output_->setFocus();
}

void TInputDLG::Commit() {
  const QString text = cmdList_->currentText();
  history_.Add(FromQt(text));
  monitor_.SetCommand(Utf8ToCp932(FromQt(text)));
  cmdList_->ShowHistory(history_, text);
  ShowCaption();
}

}  // namespace tessaro
