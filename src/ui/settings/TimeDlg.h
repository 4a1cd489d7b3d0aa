#pragma once
// "ロガー時刻の設定": the PC clock and the recorder clock side by side,
// refreshed twice a second; "変更" sets the recorder to the PC time, "入力"
// lets the user type a date and time. The exchanges and checks are core
// functions (RecorderClock); the dialog only shows and asks.

#include <functional>
#include <string>

#include "core/recorder/RecorderSession.h"
#include "core/settings/PcClockStamp.h"
#include "core/support/SilentProgress.h"
#include "ui/shell/CommandDialog.h"

class QDateEdit;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTimeEdit;

namespace tessaro {

class AppSession;
class TExchangeTimer;

class TTimeDLG : public TCommandDialog {
  Q_OBJECT

 public:
  enum Page { ViewPage = 0, EditPage = 1 };

  TTimeDLG(AppSession& session, QWidget* parent = nullptr);

  int CurrentPage() const;
  QLabel* SystemClockLabel() const { return systemValue_; }
  QLabel* RecorderClockLabel() const { return recorderValue_; }
  QPushButton* InputButton() const { return inputButton_; }
  QPushButton* ChangeButton() const { return changeButton_; }
  QPushButton* ViewCancelButton() const { return viewCancel_; }
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* EditCancelButton() const { return editCancel_; }
  QDateEdit* DatePicker() const { return datePicker_; }
  QTimeEdit* TimePicker() const { return timePicker_; }
  TExchangeTimer* Timer() const { return secTimer_; }

 public slots:
  void SecTimerTimer();
  void ChangeClick();
  void InputClick();
  void OkClick();
  void EditCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildViewPage(QWidget* page);
  void BuildEditPage(QWidget* page);
  // Runs one exchange; a failure is shown, and a silent recorder closes the
  // dialog. False when the exchange failed.
  bool Exchange(const std::function<void()>& step);
  void ShowView();

  SilentProgress progress_;
  RecorderSession recorder_;
  PcClockStamp pcClock_;
  std::string recorderClockText_;  // last valid recorder time, or the one typed

  QStackedWidget* pages_;
  QLabel* systemValue_;
  QLabel* recorderValue_;
  QPushButton* inputButton_;
  QPushButton* changeButton_;
  QPushButton* viewCancel_;
  QDateEdit* datePicker_;
  QTimeEdit* timePicker_;
  QPushButton* okButton_;
  QPushButton* editCancel_;
  TExchangeTimer* secTimer_;
};

}  // namespace tessaro
