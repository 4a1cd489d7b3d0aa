#include "ui/collect/CsvTypeGroup.h"

#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/shell/QtText.h"

namespace tessaro {

TCsvTypeGroup::TCsvTypeGroup(QWidget* parent) : QGroupBox(Msg(MsgCsvTypeGroup), parent) {
  q5_ = new QRadioButton(Msg(MsgCsvTypeQ5), this);
  corvex_ = new QRadioButton(Msg(MsgCsvTypeCorvex), this);
  q5_->setChecked(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 2, 8, 4);
  layout->setSpacing(2);
  layout->addWidget(q5_);
  layout->addWidget(corvex_);
}

CsvType TCsvTypeGroup::Type() const { return corvex_->isChecked() ? CsvType::Corvex : CsvType::Q5; }

void TCsvTypeGroup::SetType(CsvType type) { Button(type)->setChecked(true); }

QRadioButton* TCsvTypeGroup::Button(CsvType type) const {
  return type == CsvType::Corvex ? corvex_ : q5_;
}

void TCsvTypeGroup::FocusChecked() { Button(Type())->setFocus(); }

}  // namespace tessaro
