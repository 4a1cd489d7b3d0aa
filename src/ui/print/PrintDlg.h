#pragma once
// The print settings dialog shown before the coefficients are printed: the
// current printer and paper, the system's printer setup dialog behind
// "設定(&T)..." (whose result is saved for the next run, confirmed or not)
// and whether the fixed items are printed shaded.

#include <QDialog>
#include <functional>

#include "core/support/AppPaths.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;

namespace tessaro {

class TPrintDLG : public QDialog {
  Q_OBJECT

 public:
  // Runs the system's printer setup dialog on printer; false when it could
  // not be shown. Tests put in their own.
  using SetupDialog = std::function<bool(QPrinter& printer, QWidget* parent)>;

  TPrintDLG(QPrinter& printer, AppPaths paths, QWidget* parent = nullptr);

  void SetSetupDialog(SetupDialog setup) { setup_ = std::move(setup); }
  bool Shade() const;

  QLabel* PrinterLabel() const { return printerName_; }
  QLabel* PaperLabel() const { return paperName_; }
  QCheckBox* ShadeBox() const { return shade_; }
  QComboBox* LayoutList() const { return layout_; }
  QPushButton* SetupButton() const { return setupBtn_; }

  // The name of the printer's current paper; empty when the printer does
  // not list it among its papers.
  static QString PaperName(const QPrinter& printer);

 public slots:
  void SetupBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowPrinter();

  QPrinter& printer_;
  AppPaths paths_;
  SetupDialog setup_;
  QLabel* printerName_;
  QLabel* paperName_;
  QCheckBox* shade_;
  QComboBox* layout_;
  QPushButton* setupBtn_;
};

}  // namespace tessaro
