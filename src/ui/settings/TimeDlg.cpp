#include "ui/settings/TimeDlg.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimeEdit>

#include "core/recorder/RecorderFailure.h"
#include "core/settings/RecorderClock.h"
#include "core/support/MessageBox.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/ExchangeTimer.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"

namespace tessaro {
namespace {

constexpr int kTickMs = 500;

QLabel* AddValueRow(QWidget* page, int caption, int y) {
  auto* label = new QLabel(Msg(caption), page);
  label->setGeometry(12, y, 90, 20);
  auto* value = new QLabel(ToQt(kInvalidDateTimeText), page);
  value->setGeometry(104, y, 140, 20);
  return value;
}

QPushButton* AddButton(QWidget* page, int caption, int x, int y) {
  auto* button = new QPushButton(Msg(caption), page);
  button->setGeometry(x, y, 80, 25);
  return button;
}

}  // namespace

TTimeDLG::TTimeDLG(AppSession& session, QWidget* parent)
    : TCommandDialog(parent, kFixedDialogFlags | Qt::WindowStaysOnTopHint),
      recorder_(session.Line(), progress_) {
  setWindowTitle(Msg(MsgClockCaption));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());
  setFixedSize(270, 120);

  pages_ = new QStackedWidget(this);
  pages_->setGeometry(0, 0, 270, 120);
  auto* view = new QWidget;
  auto* edit = new QWidget;
  BuildViewPage(view);
  BuildEditPage(edit);
  pages_->addWidget(view);
  pages_->addWidget(edit);

  secTimer_ = new TExchangeTimer(this);
  secTimer_->setInterval(kTickMs);
  connect(secTimer_, &QTimer::timeout, this, &TTimeDLG::SecTimerTimer);
}

void TTimeDLG::BuildViewPage(QWidget* page) {
  systemValue_ = AddValueRow(page, MsgClockSystemLabel, 14);
  recorderValue_ = AddValueRow(page, MsgClockRecorderLabel, 42);
  inputButton_ = AddButton(page, MsgClockInput, 8, 84);
  changeButton_ = AddButton(page, MsgChangeButton, 95, 84);
  viewCancel_ = AddButton(page, MsgCancelButton, 182, 84);
  connect(inputButton_, &QPushButton::clicked, this, &TTimeDLG::InputClick);
  connect(changeButton_, &QPushButton::clicked, this, &TTimeDLG::ChangeClick);
  connect(viewCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TTimeDLG::BuildEditPage(QWidget* page) {
  const QDate first(kFirstClockYear, 1, 1), last(kLastClockYear, 12, 31);
  auto* dateLabel = new QLabel(Msg(MsgClockDateLabel), page);
  dateLabel->setGeometry(12, 14, 80, 22);
  datePicker_ = new QDateEdit(page);
  datePicker_->setGeometry(96, 14, 130, 22);
  datePicker_->setDisplayFormat("yyyy/MM/dd");
  datePicker_->setCalendarPopup(true);
  datePicker_->setDateRange(first, last);
  dateLabel->setBuddy(datePicker_);
  auto* timeLabel = new QLabel(Msg(MsgClockTimeLabel), page);
  timeLabel->setGeometry(12, 44, 80, 22);
  timePicker_ = new QTimeEdit(page);
  timePicker_->setGeometry(96, 44, 130, 22);
  timePicker_->setDisplayFormat("HH:mm:ss");
  timeLabel->setBuddy(timePicker_);
  okButton_ = AddButton(page, MsgOkButton, 95, 84);
  editCancel_ = AddButton(page, MsgCancelButton, 182, 84);
  connect(okButton_, &QPushButton::clicked, this, &TTimeDLG::OkClick);
  connect(editCancel_, &QPushButton::clicked, this, &TTimeDLG::EditCancelClick);
}

int TTimeDLG::CurrentPage() const { return pages_->currentIndex(); }

void TTimeDLG::showEvent(QShowEvent* event) {
  TCommandDialog::showEvent(event);
  ShowView();
  viewCancel_->setFocus();
}

void TTimeDLG::hideEvent(QHideEvent* event) {
  secTimer_->stop();
  TCommandDialog::hideEvent(event);
}

bool TTimeDLG::Exchange(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const RecorderFailure& failure) {
    ShowError(LoadMessage(failure.message));
    if (failure.message == MsgNoEchoBack) reject();
    return false;
  }
}

void TTimeDLG::ShowView() {
  pages_->setCurrentIndex(ViewPage);
  secTimer_->start();
}

void TTimeDLG::SecTimerTimer() {
  secTimer_->stop();
  systemValue_->setText(ToQt(ExpandClockText(PcClockText(0))));
  std::optional<std::string> reply;
  if (!Exchange([&] { reply = ReadRecorderClock(recorder_); })) return;
  if (reply) {
    recorderClockText_ = *reply;
    recorderValue_->setText(ToQt(ExpandClockText(*reply)));
  }
  pcClock_.Take();
  secTimer_->start();
}

void TTimeDLG::ChangeClick() {
  secTimer_->stop();
  const std::string text = pcClock_.Fresh();
  if (!Exchange([&] { WriteRecorderClock(recorder_, text); }) && !isVisible()) return;
  secTimer_->start();
}

void TTimeDLG::InputClick() {
  secTimer_->stop();
  pages_->setCurrentIndex(EditPage);
  const DateTimeFields start = ClockEditStart(recorderClockText_, NowFields());
  datePicker_->setDate(QDate(start.year, start.month, start.day));
  timePicker_->setTime(QTime(start.hour, start.minute, start.second));
  datePicker_->setFocus();
}

void TTimeDLG::OkClick() {
  const QDate date = datePicker_->date();
  const QTime time = timePicker_->time();
  recorderClockText_ = ClockDigits(
      {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()});
  if (!Exchange([&] { WriteRecorderClock(recorder_, recorderClockText_); }) && !isVisible()) return;
  ShowView();
}

void TTimeDLG::EditCancelClick() { ShowView(); }

}  // namespace tessaro
