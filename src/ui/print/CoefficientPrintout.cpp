#include "ui/print/CoefficientPrintout.h"

#include <QColor>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <array>

#include "core/coef/CoefficientPagination.h"
#include "core/support/Messages.h"
#include "core/support/ProgressReporter.h"
#include "core/support/Pump.h"

namespace tessaro {
namespace {

constexpr int kRuleWidth = 3;
// The button face of the original's printout.
const QColor kShadeColour(0xF0, 0xF0, 0xF0);

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// Where the lines and columns of a page go on one device.
struct PageGeometry {
  int leftMargin = 0;
  int lineHeight = 0;
  int pageLines = 0;
  int pageWidth = 0;
  std::array<int, kTupleColumns> columnWidths{};
};

PageGeometry Measure(const QPagedPaintDevice& device, const QFont& font,
                     const std::array<int, kTupleColumns>& lengths) {
  const QFontMetrics metrics(font, &device);
  PageGeometry g;
  // 10 mm from the paper's edge, counted from where the printable area starts.
  const int unprintableLeft = device.pageLayout().paintRectPixels(device.logicalDpiX()).left();
  g.leftMargin = std::max(0, static_cast<int>(10 * device.logicalDpiY() / 25.4) - unprintableLeft);
  g.lineHeight = static_cast<int>(1.4 * metrics.height());
  g.pageLines = g.lineHeight > 0 ? device.height() / g.lineHeight : 0;
  g.pageWidth = device.width();
  for (int c = 0; c < kTupleColumns; ++c)
    g.columnWidths[c] = metrics.horizontalAdvance(QString(lengths[c] + 2, QLatin1Char('W')));
  return g;
}

}  // namespace

CoefficientPrintout::CoefficientPrintout(const CoefficientTables& tables, bool shade,
                                         QDate printDate)
    : tables_(tables), shade_(shade), printDate_(printDate) {}

QFont CoefficientPrintout::PrintFont() {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
                    QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSize(9);
  return font;
}

CoefficientPrintout::Result CoefficientPrintout::LayOut(const QPagedPaintDevice& device,
                                                        ProgressReporter& progress) {
  pages_.clear();
  const PageGeometry g = Measure(device, PrintFont(), CoefficientColumnLengths(tables_));
  if (!PageHoldsRows(g.pageLines)) return Result::PaperTooSmall;

  const QString serial = ToQt(FormatMessage(MsgPrintSerial, tables_.serialNumber.c_str()));
  const QString date = ToQt(
      FormatMessage(MsgPrintDate, printDate_.year() % 100, printDate_.month(), printDate_.day()));
  const QString product = ToQt(LoadMessage(MsgPrintJobTitle));
  const int textWidth = std::max(0, g.pageWidth - g.leftMargin);
  const int left = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
  const int right = Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine;
  const int centred = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine;

  int y = 0;
  auto nextLine = [&] {
    const QRect line(g.leftMargin, y, textWidth, g.lineHeight);
    y += g.lineHeight;
    return line;
  };
  auto addRow = [&](Page& page, const TupleRow& row, bool header) {
    const QRect line = nextLine();
    int x = line.left();
    for (int c = 0; c < kTupleColumns; ++c) {
      const QRect rect(x, line.top(), g.columnWidths[c], g.lineHeight);
      x += g.columnWidths[c];
      const bool alignLeft = !header && c >= ColumnValue;
      const QString text = ToQt(row.fields[c].empty() ? std::string(" ") : row.fields[c]);
      page.cells.push_back(
          {{rect, alignLeft ? QLatin1Char(' ') + text : text, alignLeft ? left : centred},
           shade_ && (header || c == ColumnNo || c == ColumnCode)});
    }
  };

  const std::vector<CoefficientPage> plan = PaginateCoefficients(tables_, g.pageLines);
  size_t currentTable = tables_.tables.size();
  for (const CoefficientPage& p : plan) {
    const TupleTable& table = tables_.tables[p.table];
    const QString title = ToQt(CoefficientTableTitle(table.area));
    if (p.table != currentTable) {
      currentTable = p.table;
      progress.SetMessage(FormatMessage(MsgPrintingTable, title.toStdString().c_str()));
      progress.SetPercent(0);
    }
    Page page;
    y = g.lineHeight;  // one empty line at the top
    QRect line = nextLine();
    page.texts.push_back({line, product, left});
    page.texts.push_back({line, date, right});
    line = nextLine();
    page.texts.push_back({line, serial, left});
    page.texts.push_back({line, ToQt(FormatMessage(MsgPrintPage, p.number)), right});
    page.texts.push_back({nextLine(), title, left});
    addRow(page, table.rows[0], true);
    for (size_t r = p.firstRow; r < p.endRow; ++r) {
      PumpMessages();
      if (progress.CancelRequested()) {
        pages_.clear();
        return Result::Cancelled;
      }
      addRow(page, table.rows[r], false);
      progress.SetPercent(static_cast<int>(r * 100 / table.rows.size()));
    }
    if (p.endRow == table.rows.size()) progress.SetPercent(100);
    pages_.push_back(std::move(page));
  }
  return Result::Ready;
}

void CoefficientPrintout::Draw(QPainter& painter, QPagedPaintDevice& device) const {
  painter.setFont(PrintFont());
  painter.setBackgroundMode(Qt::TransparentMode);
  QPen rule(Qt::black);
  rule.setWidth(kRuleWidth);
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (i > 0) device.newPage();
    const Page& page = pages_[i];
    painter.setPen(Qt::black);
    for (const Text& t : page.texts) painter.drawText(t.rect, t.flags, t.text);
    for (const Cell& cell : page.cells) {
      painter.fillRect(cell.text.rect, cell.shaded ? kShadeColour : QColor(Qt::white));
      painter.setPen(Qt::black);
      painter.drawText(cell.text.rect, cell.text.flags, cell.text.text);
      painter.setPen(rule);
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(cell.text.rect);
    }
  }
}

}  // namespace tessaro
