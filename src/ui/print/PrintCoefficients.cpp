#include "ui/print/PrintCoefficients.h"

#include <QDate>
#include <QPainter>
#include <QPrinter>

#include "core/support/MessageBox.h"
#include "core/support/Messages.h"
#include "core/support/ProgressReporter.h"
#include "ui/print/CoefficientPrintout.h"
#include "ui/print/CurrentPrinter.h"
#include "ui/print/PrintDlg.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/ModalGauge.h"

namespace tessaro {

PrintOutcome PrintCoefficientsOn(QPrinter& printer, const CoefficientTables& tables, bool shade,
                                 ProgressReporter& progress) {
  progress.SetMessage(LoadMessage(MsgPrintPreparing));
  progress.SetPercent(0);
  printer.setDocName(QString::fromStdString(LoadMessage(MsgPrintJobTitle)));
  CoefficientPrintout printout(tables, shade, QDate::currentDate());
  switch (printout.LayOut(printer, progress)) {
    case CoefficientPrintout::Result::Ready:
      break;
    case CoefficientPrintout::Result::Cancelled:
      return PrintOutcome::Cancelled;
    case CoefficientPrintout::Result::PaperTooSmall:
      ShowError(LoadMessage(MsgPrintPaperTooSmall));
      return PrintOutcome::Failed;
  }
  if (printout.PageCount() == 0) return PrintOutcome::NothingToPrint;
  QPainter painter;
  if (!painter.begin(&printer)) {
    const QString name = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                       : printer.printerName();
    ShowError(FormatMessage(MsgPrinterStartFailed, name.toStdString().c_str()));
    return PrintOutcome::Failed;
  }
  printout.Draw(painter, printer);
  painter.end();
  return PrintOutcome::Printed;
}

void PrintCoefficients(AppSession& session, QWidget* view, const CoefficientTables& tables) {
  QPrinter& printer = CurrentPrinter();
  bool shade = false;
  {
    TPrintDLG settings(printer, session.Paths(), view);
    if (view) settings.setWindowIcon(view->windowIcon());
    if (settings.exec() != QDialog::Accepted) return;
    shade = settings.Shade();
  }
  if (view) view->setEnabled(false);
  {
    ModalGauge shown(session.Gauge(), LoadMessage(MsgPrintCaption));
    PrintCoefficientsOn(printer, tables, shade, session.Gauge());
  }
  if (view) {
    view->setEnabled(true);
    view->raise();
    view->activateWindow();
  }
}

}  // namespace tessaro
