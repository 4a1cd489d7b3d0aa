#include "ui/terminal/TermDlg.h"

#include <QAction>
#include <QClipboard>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
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

constexpr const char* kHistorySection = "TERMINAL";

}  // namespace

TTermDLG::TTermDLG(AppSession& session, QWidget* parent, FileDialogs files)
    : TCommandDialog(parent),
      historyFile_(session.Paths().commandHistoryFile),
      dataFolder_(session.DataFolder()),
      files_(std::move(files)),
      terminal_(session.Line(), history_, log_, *this) {
  const CommandPanel panel =
      BuildCommandPanel(*this, {MsgTermSend, MsgTermLogButton, MsgCancelButton});
  termEdit_ = panel.edit;
  cmdList_ = panel.box;
  sendButton_ = panel.buttons[0];
  logButton_ = panel.buttons[1];
  cancelButton_ = panel.buttons[2];
  termEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  pasteAction_ = new QAction(Msg(MsgTermPaste), termEdit_);
  termEdit_->addAction(pasteAction_);
  termEdit_->setContextMenuPolicy(Qt::ActionsContextMenu);

  connect(termEdit_, &TTermEdit::KeyPress, this, &TTermDLG::TermEditKeyPress);
  connect(pasteAction_, &QAction::triggered, this, &TTermDLG::PMenuPasteClick);
  connect(cmdList_, &QComboBox::editTextChanged, this, [this] { sendButton_->setEnabled(true); });
  connect(cmdList_, &THistoryBox::Left, this, [this](bool edited) {
    if (edited) terminal_.AddToHistory(FromQt(cmdList_->currentText()));
  });
  connect(sendButton_, &QPushButton::clicked, this, &TTermDLG::SendClick);
  connect(logButton_, &QPushButton::clicked, this, &TTermDLG::LogClick);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  if (!history_.Load(historyFile_, kHistorySection)) ShowError(LoadMessage(MsgHistoryAccess));
  cmdList_->ShowHistory(history_, history_.Empty() ? QString() : ToQt(history_.Entries().front()));
  sendButton_->setEnabled(!history_.Empty());
  ShowCaption();

  recvTimer_ = new TExchangeTimer(this);
  recvTimer_->setInterval(kReceiveMs);
  connect(recvTimer_, &QTimer::timeout, this, &TTermDLG::RecvTimerTimer);
  recvTimer_->start();
}

TTermDLG::~TTermDLG() = default;

void TTermDLG::showEvent(QShowEvent* event) {
  TCommandDialog::showEvent(event);
  termEdit_->setFocus();
}

void TTermDLG::done(int result) {
  recvTimer_->stop();
  if (!closed_ && !history_.Save(historyFile_, kHistorySection))
    ShowError(LoadMessage(MsgHistoryAccess));
  closed_ = true;
  TCommandDialog::done(result);
}

void TTermDLG::ShowCaption() {
  if (!log_.On()) {
    setWindowTitle(Msg(MsgTermCaption));
    return;
  }
  const QString name = QFileInfo(ToQt(log_.Path())).fileName();
  setWindowTitle(ToQt(FormatMessage(MsgTermLogCaption, FromQt(name).c_str())));
}

void TTermDLG::TermEditKeyPress(const QString& text) {
  for (const QChar c : text) {
    if (c == QChar('\r') || c == QChar('\n')) {
      terminal_.TypeEnter();
    } else if (const auto cp932 = Utf8ToCp932Exact(FromQt(QString(c)))) {
      terminal_.TypeCharacter(*cp932);
    }
  }
}

void TTermDLG::RecvTimerTimer() {
  recvTimer_->stop();
  terminal_.Receive();
  if (!closed_) recvTimer_->start();
}

void TTermDLG::SendClick() {
  if (cmdList_->Edited()) terminal_.AddToHistory(FromQt(cmdList_->currentText()));
  terminal_.SendCommand(FromQt(cmdList_->currentText()));
  termEdit_->setFocus();
}

void TTermDLG::LogClick() {
  if (log_.On()) {
    log_.Stop();
  } else {
    const QString proposed =
        QDateTime::currentDateTime().toString("yyyyMMddhhmmss") + QStringLiteral(".LOG");
    const QString path =
        files_.askSaveFileName(this, {Msg(MsgTermLogFilter), "LOG", ToQt(dataFolder_) + proposed});
    if (!path.isEmpty()) {
      if (const int failure = log_.Start(FromQt(path))) ShowError(LoadMessage(failure));
    }
  }
  ShowCaption();
  termEdit_->setFocus();
}

void TTermDLG::PMenuPasteClick() {
  recvTimer_->stop();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const std::string text = data && data->hasText() ? FromQt(data->text()) : std::string();
  switch (terminal_.Paste(text)) {
    case TerminalSession::PasteResult::NotText:
      ShowError(LoadMessage(MsgPasteNotText));
      break;
    case TerminalSession::PasteResult::TooLong:
      ShowError(LoadMessage(MsgPasteTooLong));
      break;
    case TerminalSession::PasteResult::ExchangeFailed:
      ShowError(LoadMessage(MsgPasteExchangeFailed));
      break;
    case TerminalSession::PasteResult::Sent:
      break;
  }
  if (!closed_) recvTimer_->start();
}

void TTermDLG::AppendLine(const std::string& cp932) {
  termEdit_->AppendLine(ToQt(Cp932ToUtf8(cp932)));
}

void TTermDLG::ShowCommand(const std::string& utf8) {
  cmdList_->ShowHistory(history_, ToQt(utf8));
  sendButton_->setEnabled(true);
}

void TTermDLG::LogFailed(int message) {
  ShowError(LoadMessage(message));
  ShowCaption();
}

}  // namespace tessaro
