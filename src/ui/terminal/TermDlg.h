#pragma once
// "ターミナル": characters typed into the field go to the recorder as they
// are typed, a command from the box goes out with "送信", pasted lines are
// sent one by one with their replies, and everything the recorder sends is
// shown line by line. "記録" logs the conversation to a file. The traffic,
// the history and the log are core (TerminalSession); the dialog only
// forwards keys and shows lines.

#include <memory>

#include "core/term/CommandHistory.h"
#include "core/term/TermLog.h"
#include "core/term/TermScreen.h"
#include "core/term/TerminalSession.h"
#include "ui/shell/CommandDialog.h"
#include "ui/shell/FileDialogs.h"

class QAction;
class QPushButton;
class QWidget;

namespace tessaro {

class AppSession;
class TExchangeTimer;
class THistoryBox;
class TTermEdit;

class TTermDLG : public TCommandDialog, private TermScreen {
  Q_OBJECT

 public:
  static constexpr int kReceiveMs = 100;

  TTermDLG(AppSession& session, QWidget* parent = nullptr, FileDialogs files = NativeFileDialogs());
  ~TTermDLG() override;

  TTermEdit* TermEdit() const { return termEdit_; }
  THistoryBox* CmdList() const { return cmdList_; }
  QPushButton* SendButton() const { return sendButton_; }
  QPushButton* LogButton() const { return logButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  QAction* PasteAction() const { return pasteAction_; }
  TExchangeTimer* RecvTimer() const { return recvTimer_; }

 public slots:
  void RecvTimerTimer();
  void SendClick();
  void LogClick();
  void PMenuPasteClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void TermEditKeyPress(const QString& text);
  // TermScreen
  void AppendLine(const std::string& cp932) override;
  void ShowCommand(const std::string& utf8) override;
  void LogFailed(int message) override;
  void ShowCaption();

  const std::string historyFile_;
  const std::string dataFolder_;
  FileDialogs files_;
  CommandHistory history_;
  TermLog log_;
  TerminalSession terminal_;
  bool closed_ = false;

  TTermEdit* termEdit_;
  THistoryBox* cmdList_;
  QPushButton* sendButton_;
  QPushButton* logButton_;
  QPushButton* cancelButton_;
  QAction* pasteAction_;
  TExchangeTimer* recvTimer_;
};

}  // namespace tessaro
