#pragma once
// The coefficient printout as a PDF file, as the print command would print
// it on A4 paper. The file appears only when it is complete: a cancelled or
// failed job leaves no file and no temporary behind, and an existing file is
// replaced only when the caller says so. Needs a QGuiApplication (the
// offscreen platform serves where there is no display).

#include <string>

#include "core/coef/TupleTable.h"
#include "core/support/OutputTarget.h"

namespace tessaro {

class ProgressReporter;

struct PdfPrintOutcome {
  enum class Status { Written, Cancelled, Failed };
  Status status = Status::Failed;
  int pages = 0;        // Written: pages in the file; 0: every table empty, no file made
  std::string message;  // Failed: what to tell the user
};

PdfPrintOutcome PrintCoefficientsToPdf(const CoefficientTables& tables, const std::string& path,
                                       bool shade, ProgressReporter& progress,
                                       ExistingFile existing = ExistingFile::Replace);

}  // namespace tessaro
