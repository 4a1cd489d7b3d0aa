#include "ui/print/PrintDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <new>

#include "core/support/MessageBox.h"
#include "ui/print/PrinterSettings.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"

namespace tessaro {
namespace {

bool RunSystemSetupDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.exec();
  return true;
}

}  // namespace

TPrintDLG::TPrintDLG(QPrinter& printer, AppPaths paths, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      printer_(printer),
      paths_(std::move(paths)),
      setup_(RunSystemSetupDialog) {
  setWindowTitle(Msg(MsgPrintDlgCaption));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());
  setFixedSize(360, 150);

  auto addLabel = [this](int id, int y) {
    auto* caption = new QLabel(Msg(id), this);
    caption->setGeometry(12, y, 80, 20);
    auto* value = new QLabel(this);
    value->setGeometry(95, y, 160, 20);
    return value;
  };
  printerName_ = addLabel(MsgPrintDlgPrinter, 12);
  paperName_ = addLabel(MsgPrintDlgPaper, 36);
  shade_ = new QCheckBox(Msg(MsgPrintDlgShade), this);
  shade_->setGeometry(12, 62, 200, 20);

  // Kept from the original layout; the printout always fits every column.
  auto* layoutLabel = new QLabel(Msg(MsgPrintDlgLayout), this);
  layoutLabel->setGeometry(12, 90, 80, 20);
  layoutLabel->hide();
  layout_ = new QComboBox(this);
  layout_->setGeometry(95, 90, 160, 22);
  for (int id : {MsgPrintLayoutAll, MsgPrintLayoutMost, MsgPrintLayoutFont, MsgPrintLayoutCount})
    layout_->addItem(Msg(id));
  layout_->hide();

  auto* ok = new QPushButton(Msg(MsgOkButton), this);
  ok->setGeometry(270, 12, 80, 25);
  ok->setDefault(true);
  auto* cancel = new QPushButton(Msg(MsgCancelButton), this);
  cancel->setGeometry(270, 44, 80, 25);
  setupBtn_ = new QPushButton(Msg(MsgPrintDlgSetup), this);
  setupBtn_->setGeometry(270, 112, 80, 25);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(setupBtn_, &QPushButton::clicked, this, &TPrintDLG::SetupBtnClick);
}

bool TPrintDLG::Shade() const { return shade_->isChecked(); }

QString TPrintDLG::PaperName(const QPrinter& printer) {
  const QPageSize size = printer.pageLayout().pageSize();
  if (printer.outputFormat() == QPrinter::NativeFormat) {
    const QList<QPageSize> supported = QPrinterInfo(printer).supportedPageSizes();
    if (!supported.isEmpty() && !supported.contains(size)) return {};
  }
  return size.name();
}

void TPrintDLG::ShowPrinter() {
  printerName_->setText(printer_.printerName());
  paperName_->setText(PaperName(printer_));
}

void TPrintDLG::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  layout_->setCurrentIndex(0);
  ShowPrinter();
  setupBtn_->setFocus();
}

void TPrintDLG::SetupBtnClick() {
  try {
    if (!setup_(printer_, this)) {
      ShowError(LoadMessage(MsgPrinterSetupFailed));
      return;
    }
    // Confirmed or cancelled, what the printer holds now is kept.
    ShowPrinter();
    if (!SavePrinterSettings(printer_, paths_))
      ShowError(LoadMessage(MsgPrinterSettingsSaveFailed));
  } catch (const std::bad_alloc&) {
    ShowError(LoadMessage(MsgOutOfMemory));
  }
}

}  // namespace tessaro
