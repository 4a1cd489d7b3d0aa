#pragma once
// The radio group "　CSV保存形式　" of the collection and conversion dialogs:
// item 0 the Q5 series form, item 1 the Corvex form.

#include <QGroupBox>

#include "core/collect/CsvWriter.h"

class QRadioButton;

namespace tessaro {

class TCsvTypeGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit TCsvTypeGroup(QWidget* parent = nullptr);

  CsvType Type() const;
  void SetType(CsvType type);
  QRadioButton* Button(CsvType type) const;
  // Focus on the checked item.
  void FocusChecked();

 private:
  QRadioButton* q5_;
  QRadioButton* corvex_;
};

}  // namespace tessaro
