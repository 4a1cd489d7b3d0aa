#include "ui/settings/SlaveDlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "ui/shell/AppIcon.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"

namespace tessaro {

TSlaveDLG::TSlaveDLG(QWidget* parent) : TCommandDialog(parent, kFixedDialogFlags) {
  setWindowTitle(Msg(MsgSlaveCaption));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());
  setFixedSize(250, 120);

  auto* group = new QGroupBox(Msg(MsgSlaveGroup), this);
  group->setGeometry(10, 8, 130, 70);
  off_ = new QRadioButton(Msg(MsgSlaveOff), group);
  off_->setGeometry(12, 20, 100, 20);
  on_ = new QRadioButton(Msg(MsgSlaveOn), group);
  on_->setGeometry(12, 42, 100, 20);
  off_->setChecked(true);

  auto* label = new QLabel(Msg(MsgSlaveIdLabel), this);
  label->setGeometry(12, 88, 70, 22);
  spin_ = new QSpinBox(this);
  spin_->setGeometry(80, 88, 60, 22);
  spin_->setRange(0, 100);
  spin_->setValue(1);
  label->setBuddy(spin_);

  ok_ = new QPushButton(Msg(MsgOkButton), this);
  ok_->setGeometry(160, 15, 80, 25);
  ok_->setDefault(true);
  auto* cancel = new QPushButton(Msg(MsgCancelButton), this);
  cancel->setGeometry(160, 48, 80, 25);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TSlaveDLG::Load(bool slaved, int slaveId) {
  (slaved ? on_ : off_)->setChecked(true);
  spin_->setValue(slaveId);
}

bool TSlaveDLG::Slaved() const { return on_->isChecked(); }

int TSlaveDLG::SlaveId() const { return spin_->value(); }

void TSlaveDLG::showEvent(QShowEvent* event) {
  TCommandDialog::showEvent(event);
  (on_->isChecked() ? on_ : off_)->setFocus();
}

}  // namespace tessaro
