#include "core/coef/CoefficientPagination.h"

#include <algorithm>
#include <stdexcept>

#include "core/support/CodePage.h"
#include "core/support/Messages.h"

namespace tessaro {

std::vector<CoefficientPage> PaginateCoefficients(const CoefficientTables& tables, int pageLines) {
  if (!PageHoldsRows(pageLines)) throw std::invalid_argument("page holds no data row");
  const size_t rowsPerPage = static_cast<size_t>(pageLines - kPageOverheadLines);
  std::vector<CoefficientPage> pages;
  int number = 0;
  for (size_t t = 0; t < tables.tables.size(); ++t) {
    const size_t rowCount = tables.tables[t].rows.size();
    for (size_t first = 1; first < rowCount; first += rowsPerPage)
      pages.push_back({t, first, std::min(rowCount, first + rowsPerPage), ++number});
  }
  return pages;
}

std::string CoefficientTableTitle(const Area& area) {
  switch (area.kind()) {
    case Area::Kind::Rom:
      return LoadMessage(MsgPrintTitleRom);
    case Area::Kind::Eep:
      return LoadMessage(MsgPrintTitleEep);
    case Area::Kind::Batt:
      return LoadMessage(MsgPrintTitleBatt);
    case Area::Kind::File:
      break;
  }
  return FormatMessage(MsgPrintTitleFile, area.group());
}

std::array<int, kTupleColumns> CoefficientColumnLengths(const CoefficientTables& tables) {
  std::array<int, kTupleColumns> lengths{};
  lengths[ColumnNo] = 9;
  for (const TupleTable& table : tables.tables)
    for (const TupleRow& row : table.rows)
      for (int c = 0; c < kTupleColumns; ++c) {
        const int cells = static_cast<int>(Utf8ToCp932(row.fields[c]).size());
        lengths[c] = std::max(lengths[c], cells);
      }
  return lengths;
}

}  // namespace tessaro
