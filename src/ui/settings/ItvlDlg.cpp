#include "ui/settings/ItvlDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <stdexcept>

#include "core/support/MessageBox.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"

namespace tessaro {
namespace {

constexpr int kCaptions[] = {MsgItvlInterval, MsgItvlPreTimer, MsgItvlSampling};

}  // namespace

TItvlDLG::TItvlDLG(AppSession& session, QWidget* parent)
    : TCommandDialog(parent, kFixedDialogFlags), session_(session) {
  setWindowTitle(Msg(MsgItvlCaption));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());
  setFixedSize(300, 150);

  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(Msg(kCaptions[i]), this);
    label->setGeometry(10, 12 + i * 32, 110, 20);
    auto* list = new QComboBox(this);
    list->setGeometry(125, 10 + i * 32, 165, 24);
    label->setBuddy(list);
    connect(list, &QComboBox::activated, this, [this, i](int position) {
      Setting(i).Choose(position);  // the "unused" entry changes nothing
    });
    lists_[static_cast<size_t>(i)] = list;
  }
  auto* ok = new QPushButton(Msg(MsgOkButton), this);
  ok->setGeometry(125, 116, 80, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(Msg(MsgCancelButton), this);
  cancel->setGeometry(210, 116, 80, 25);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

IntervalSetting& TItvlDLG::Setting(int index) {
  IntervalSetting* settings[] = {&timing_.interval, &timing_.preTimer, &timing_.sampling};
  return *settings[index];
}

bool TItvlDLG::Prepare() {
  const StepResult read = ReadMeasurementInterval(session_.Line(), session_.Gauge(), timing_);
  if (!read) {
    ShowError(read.message);
    return false;
  }
  for (int i = 0; i < 3; ++i) Fill(i);
  return true;
}

void TItvlDLG::Fill(int index) {
  QComboBox* list = List(index);
  const IntervalSetting& setting = Setting(index);
  list->clear();
  if (!setting.Used()) {
    list->addItem(Msg(MsgItvlUnused));
    list->setCurrentIndex(0);
    return;
  }
  for (const int code : setting.codes)
    list->addItem(ToQt(session_.Definitions().IntervalText(code)));
  list->setCurrentIndex(setting.Position());
}

void TItvlDLG::Apply() {
  const StepResult written = WriteMeasurementInterval(session_.Line(), session_.Gauge(), timing_);
  if (!written) throw std::runtime_error(written.message);
}

void TItvlDLG::showEvent(QShowEvent* event) {
  TCommandDialog::showEvent(event);
  List(0)->setFocus();
}

}  // namespace tessaro
