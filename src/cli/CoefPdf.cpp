#include "cli/CoefPdf.h"

#include "cli/CliCommand.h"
#include "core/support/Messages.h"

#ifdef TESSARO_PDF_OUTPUT
#include <QGuiApplication>

#include "ui/print/CoefficientPdf.h"
#endif

namespace tessaro {

#ifdef TESSARO_PDF_OUTPUT
namespace {

// Fonts and painting need a GUI application; the offscreen platform makes
// one without a display. It is never destroyed: at exit Qt's own globals
// may already be gone, and its destructor would crash.
void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 3;
  static char name[] = "tessaro-cli";
  static char option[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  new QGuiApplication(argc, argv);
}

}  // namespace

bool CoefPdfAvailable() { return true; }

int WriteCoefficientPdf(const CoefficientTables& tables, const std::string& path, bool shade,
                        bool overwrite, ProgressReporter& progress, std::ostream& out,
                        std::ostream& err) {
  EnsureGuiApplication();
  const PdfPrintOutcome outcome = PrintCoefficientsToPdf(
      tables, path, shade, progress, overwrite ? ExistingFile::Replace : ExistingFile::Refuse);
  switch (outcome.status) {
    case PdfPrintOutcome::Status::Written:
      out << "pages: " << outcome.pages << '\n';
      return kExitOk;
    case PdfPrintOutcome::Status::Cancelled:
      err << LoadMessage(MsgCancelPressed) << '\n';
      return kExitFailed;
    case PdfPrintOutcome::Status::Failed:
      break;
  }
  err << outcome.message << '\n';
  return kExitFailed;
}

#else

bool CoefPdfAvailable() { return false; }

int WriteCoefficientPdf(const CoefficientTables&, const std::string&, bool, bool, ProgressReporter&,
                        std::ostream&, std::ostream& err) {
  err << "PDF output needs a build with Qt (TESSARO_BUILD_GUI=ON).\n";
  return kExitFailed;
}

#endif

}  // namespace tessaro
