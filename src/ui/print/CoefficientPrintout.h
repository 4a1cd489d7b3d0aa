#pragma once
// The coefficient tables as printed pages. A printer job that has started
// cannot be taken back, so the job is laid out completely first (measured
// for the target device, every text and cell placed; this is where cancel
// is seen) and only then drawn, in one go.
//
//   CoefficientPrintout printout(tables, shade, QDate::currentDate());
//   if (printout.LayOut(printer, progress) != CoefficientPrintout::Result::Ready) return;
//   QPainter painter;
//   if (!painter.begin(&printer)) ...;
//   printout.Draw(painter, printer);

#include <QDate>
#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

#include "core/coef/TupleTable.h"

class QPainter;
class QPagedPaintDevice;

namespace tessaro {

class ProgressReporter;

class CoefficientPrintout {
 public:
  enum class Result { Ready, Cancelled, PaperTooSmall };

  // tables must outlive the printout.
  CoefficientPrintout(const CoefficientTables& tables, bool shade, QDate printDate);

  // Places every page for device, reporting each table through progress;
  // Cancelled as soon as progress asks for it (nothing is kept then).
  Result LayOut(const QPagedPaintDevice& device, ProgressReporter& progress);
  int PageCount() const { return static_cast<int>(pages_.size()); }

  // Draws the laid-out pages with a painter active on the device they were
  // laid out for, starting a new page between pages.
  void Draw(QPainter& painter, QPagedPaintDevice& device) const;

  // The grid font of the coefficient view, in points so that it keeps its
  // size on any device.
  static QFont PrintFont();

 private:
  struct Text {
    QRect rect;
    QString text;
    int flags;
  };
  struct Cell {
    Text text;
    bool shaded;
  };
  struct Page {
    std::vector<Text> texts;
    std::vector<Cell> cells;
  };

  const CoefficientTables& tables_;
  bool shade_;
  QDate printDate_;
  std::vector<Page> pages_;
};

}  // namespace tessaro
