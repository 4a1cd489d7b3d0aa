#include "ui/shell/GaugeDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "core/support/ExchangeScope.h"
#include "ui/shell/ExchangeGuard.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"
#include "ui/shell/UiThread.h"

namespace tessaro {
namespace {

// The operation reporting progress is in the middle of its work: events
// handled here must not start another one.
void ProcessEventsDuringOperation() {
  ExchangeScope busy;
  QCoreApplication::processEvents();
}

}  // namespace

TGaugeDLG::TGaugeDLG(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint) {
  setFont(ProportionalFont());
  setFixedSize(310, 140);
  TExchangeGuard::AllowDuringExchange(this);  // its cancel button stays usable

  auto* grpBox1 = new QGroupBox(Msg(MsgGaugeMessageGroup), this);
  grpBox1->setGeometry(5, 10, 300, 40);
  panel_ = new QLabel(grpBox1);
  panel_->setGeometry(2, 15, 296, 23);
  panel_->setAlignment(Qt::AlignCenter);

  auto* grpBox2 = new QGroupBox(Msg(MsgGaugeProgressGroup), this);
  grpBox2->setGeometry(5, 55, 300, 50);
  auto* shadow = new QFrame(grpBox2);
  shadow->setGeometry(5, 20, 290, 23);
  shadow->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  shadow->setStyleSheet(QStringLiteral("background: black;"));
  gauge_ = new QProgressBar(shadow);
  gauge_->setGeometry(1, 1, 288, 21);
  gauge_->setRange(0, 100);
  gauge_->setAlignment(Qt::AlignCenter);
  gauge_->setStyleSheet(
      QStringLiteral("QProgressBar { border: none; background: white; color: black; }"
                     "QProgressBar::chunk { background: aqua; }"));

  cancelBtn_ = new QPushButton(Msg(MsgGaugeCancel), this);
  cancelBtn_->setGeometry(112, 110, 85, 25);
  cancelBtn_->setDefault(true);
  cancelBtn_->setAutoDefault(true);
  connect(cancelBtn_, &QPushButton::clicked, this, &TGaugeDLG::CancelBtnClick);
}

void TGaugeDLG::SetCaption(const std::string& caption) {
  CallOnThreadOf(this, [this, text = ToQt(caption)] {
    setWindowTitle(text);
    ProcessEventsDuringOperation();
  });
}

void TGaugeDLG::SetMessage(const std::string& message) {
  CallOnThreadOf(this, [this, text = ToQt(message)] {
    panel_->setText(text);
    ProcessEventsDuringOperation();
  });
}

void TGaugeDLG::FlashError(const std::string& message) {
  CallOnThreadOf(this, [this, text = ToQt(message)] {
    ExchangeScope busy;
    SetMessageColour(true);
    panel_->setText(text);
    QApplication::beep();
    QCoreApplication::processEvents();
    // A local loop keeps repainting and the cancel button alive while the
    // caller (this thread or a blocked worker) waits.
    QEventLoop wait;
    QTimer::singleShot(flashMs_, &wait, &QEventLoop::quit);
    wait.exec();
    panel_->clear();
    SetMessageColour(false);
  });
}

void TGaugeDLG::SetPercent(int percent) {
  CallOnThreadOf(this, [this, percent] {
    gauge_->setValue(std::clamp(percent, 0, 100));
    ProcessEventsDuringOperation();
  });
}

int TGaugeDLG::Percent() const { return gauge_->value(); }

QString TGaugeDLG::MessageText() const { return panel_->text(); }

void TGaugeDLG::CancelBtnClick() { cancel_.store(true); }

void TGaugeDLG::showEvent(QShowEvent* event) {
  cancel_.store(false);
  gauge_->setValue(0);
  QDialog::showEvent(event);
  cancelBtn_->setFocus();
}

// The window has no close box; closing it by other means (Alt+F4, Escape)
// asks the operation to stop, which then hides the window itself.
void TGaugeDLG::closeEvent(QCloseEvent* event) {
  CancelBtnClick();
  event->ignore();
}

void TGaugeDLG::reject() { CancelBtnClick(); }

void TGaugeDLG::SetMessageColour(bool error) {
  flashing_ = error;
  QPalette palette = panel_->palette();
  palette.setColor(QPalette::WindowText, error ? Qt::red : Qt::black);
  panel_->setPalette(palette);
}

}  // namespace tessaro
