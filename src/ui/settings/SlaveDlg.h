#pragma once
// Multi-link addressing: slave addressing on or off and the slave ID. The
// dialog only edits the two values; the main window applies them.

#include "ui/shell/CommandDialog.h"

class QRadioButton;
class QSpinBox;
class QPushButton;

namespace tessaro {

class TSlaveDLG : public TCommandDialog {
  Q_OBJECT

 public:
  explicit TSlaveDLG(QWidget* parent = nullptr);

  void Load(bool slaved, int slaveId);
  bool Slaved() const;
  int SlaveId() const;

  QRadioButton* OnButton() const { return on_; }
  QRadioButton* OffButton() const { return off_; }
  QSpinBox* IdSpin() const { return spin_; }
  QPushButton* OkButton() const { return ok_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QRadioButton* off_;
  QRadioButton* on_;
  QSpinBox* spin_;
  QPushButton* ok_;
};

}  // namespace tessaro
