#pragma once
// The progress window shared by every long operation: caption, one message
// line, a percentage bar and a cancel button. Worker threads reach it
// through the ProgressReporter calls, which block until the UI thread has
// shown the change; the cancel flag is read without a call.

#include <QDialog>
#include <atomic>

#include "core/support/ProgressReporter.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tessaro {

class TGaugeDLG : public QDialog, public ProgressReporter {
  Q_OBJECT

 public:
  explicit TGaugeDLG(QWidget* parent = nullptr);

  void SetCaption(const std::string& caption) override;
  void SetMessage(const std::string& message) override;
  // Red message line, error beep, FlashMilliseconds() of waiting, then an
  // empty black line again. The window stays responsive meanwhile.
  void FlashError(const std::string& message) override;
  void SetPercent(int percent) override;
  bool CancelRequested() const override { return cancel_.load(); }

  int Percent() const;
  QString MessageText() const;
  bool MessageIsError() const { return flashing_; }
  QPushButton* CancelButton() const { return cancelBtn_; }
  void SetFlashMilliseconds(int ms) { flashMs_ = ms; }
  int FlashMilliseconds() const { return flashMs_; }

 public slots:
  void CancelBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void SetMessageColour(bool error);

  QLabel* panel_;
  QProgressBar* gauge_;
  QPushButton* cancelBtn_;
  std::atomic<bool> cancel_{false};
  bool flashing_ = false;
  int flashMs_ = 1500;
};

}  // namespace tessaro
