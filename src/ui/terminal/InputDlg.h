#pragma once
// "モニター": one command sent four times a second, every reply listed with
// a running number; the third failed exchange in a row closes the dialog.
// The command is picked from or typed into a drop-down that remembers the
// last commands used. The loop is core (MonitorLoop); the dialog shows it.

#include "core/term/CommandHistory.h"
#include "core/term/MonitorLoop.h"
#include "ui/shell/CommandDialog.h"

class QPushButton;

namespace tessaro {

class AppSession;
class LineContext;
class TExchangeTimer;
class THistoryBox;
class TTermEdit;

class TInputDLG : public TCommandDialog {
  Q_OBJECT

 public:
  static constexpr int kTickMs = 250;

  TInputDLG(AppSession& session, QWidget* parent = nullptr);

  TTermEdit* Output() const { return output_; }
  THistoryBox* CmdList() const { return cmdList_; }
  QPushButton* ChangeButton() const { return changeButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  TExchangeTimer* RecvTimer() const { return recvTimer_; }

 public slots:
  void RecvTimerTimer();
  void ChangeClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void Commit();
  void ShowCaption();

  LineContext& line_;
  const std::string historyFile_;
  CommandHistory history_;
  MonitorLoop monitor_;
  bool closed_ = false;

  TTermEdit* output_;
  THistoryBox* cmdList_;
  QPushButton* changeButton_;
  QPushButton* cancelButton_;
  TExchangeTimer* recvTimer_;
};

}  // namespace tessaro
