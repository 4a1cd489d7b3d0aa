#include "ui/print/CoefficientPdf.h"

#include <QBuffer>
#include <QDate>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "core/collect/SafeOutputFile.h"
#include "core/support/Messages.h"
#include "core/support/ProgressReporter.h"
#include "ui/print/CoefficientPrintout.h"

namespace tessaro {
namespace {

// A laser printer's resolution and unprintable border, so that the file
// looks like the paper.
constexpr int kPdfResolution = 600;
constexpr double kPdfBorderMm = 5;

PdfPrintOutcome Failure(const std::string& reason) {
  return {PdfPrintOutcome::Status::Failed, 0, FormatMessage(MsgPrintPdfFailed, reason.c_str())};
}

}  // namespace

PdfPrintOutcome PrintCoefficientsToPdf(const CoefficientTables& tables, const std::string& path,
                                       bool shade, ProgressReporter& progress,
                                       ExistingFile existing) {
  // The target is checked before any work, so a refused name costs nothing.
  SafeOutputFile out;
  if (!out.Create(path, existing)) return Failure(out.Reason());

  progress.SetCaption(LoadMessage(MsgPrintCaption));
  progress.SetMessage(LoadMessage(MsgPrintPreparing));
  progress.SetPercent(0);

  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  QPdfWriter writer(&pdf);
  writer.setTitle(QString::fromStdString(LoadMessage(MsgPrintJobTitle)));
  writer.setCreator(QStringLiteral("Tessaro"));
  writer.setResolution(kPdfResolution);
  writer.setPageLayout(QPageLayout(
      QPageSize(QPageSize::A4), QPageLayout::Portrait,
      QMarginsF(kPdfBorderMm, kPdfBorderMm, kPdfBorderMm, kPdfBorderMm), QPageLayout::Millimeter));

  CoefficientPrintout printout(tables, shade, QDate::currentDate());
  switch (printout.LayOut(writer, progress)) {
    case CoefficientPrintout::Result::Ready:
      break;
    case CoefficientPrintout::Result::Cancelled:
      return {PdfPrintOutcome::Status::Cancelled, 0, {}};
    case CoefficientPrintout::Result::PaperTooSmall:
      return {PdfPrintOutcome::Status::Failed, 0, LoadMessage(MsgPrintPaperTooSmall)};
  }
  // Nothing to print makes no file, as it would print no paper.
  if (printout.PageCount() == 0) return {PdfPrintOutcome::Status::Written, 0, {}};
  QPainter painter;
  if (!painter.begin(&writer)) return Failure(path);
  printout.Draw(painter, writer);
  painter.end();
  const QByteArray& bytes = pdf.data();
  if (!out.Write(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) ||
      !out.Commit())
    return Failure(out.Reason());
  return {PdfPrintOutcome::Status::Written, printout.PageCount(), {}};
}

}  // namespace tessaro
