#pragma once
// The version window: program name, version, notice line and edition text.

#include "ui/shell/CommandDialog.h"

class QLabel;
class QPushButton;

namespace tessaro {

class TAboutDLG : public TCommandDialog {
  Q_OBJECT

 public:
  explicit TAboutDLG(QWidget* parent = nullptr);

  // Fills in the icon and the version texts.
  bool Prepare() override;

  QString ProductNameText() const;
  QString VersionText() const;
  QPushButton* OkButton() const { return okButton_; }

 private:
  QLabel* programIcon_;
  QLabel* productName_;
  QLabel* version_;
  QLabel* notice_;
  QLabel* htmlAddr_;
  QPushButton* okButton_;
};

}  // namespace tessaro
