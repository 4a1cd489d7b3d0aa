#pragma once
// Printing the coefficient tables on the current printer: the "印刷"
// button of the coefficient view.

#include "core/coef/TupleTable.h"

class QPrinter;
class QWidget;

namespace tessaro {

class AppSession;
class ProgressReporter;

enum class PrintOutcome { Printed, NothingToPrint, Cancelled, Failed };

// The job on printer, reporting through progress: every page is laid out
// first (cancel throws the whole job away, before anything reaches the
// printer), then all pages are sent. Failures are shown to the user.
PrintOutcome PrintCoefficientsOn(QPrinter& printer, const CoefficientTables& tables, bool shade,
                                 ProgressReporter& progress);

// The print settings dialog, then the job on the current printer behind
// the progress dialog; view is disabled meanwhile and brought to the front
// afterwards.
void PrintCoefficients(AppSession& session, QWidget* view, const CoefficientTables& tables);

}  // namespace tessaro
