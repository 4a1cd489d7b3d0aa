#pragma once
// `coef --pdf FILE [--shade]`: the coefficient tables printed to a PDF file
// as the print command would print them, then "pages: N" on out. Works
// without a display: the drawing runs on Qt's offscreen platform. A build
// without Qt refuses with a message.

#include <ostream>
#include <string>

#include "core/coef/TupleTable.h"

namespace tessaro {

class ProgressReporter;

// Whether this build can write PDF files.
bool CoefPdfAvailable();

// kExitOk after writing the file (no file when every table is empty: "pages: 0"),
// kExitFailed with the reason on err (also when cancelled; nothing is left behind).
int WriteCoefficientPdf(const CoefficientTables& tables, const std::string& path, bool shade,
                        bool overwrite, ProgressReporter& progress, std::ostream& out,
                        std::ostream& err);

}  // namespace tessaro
