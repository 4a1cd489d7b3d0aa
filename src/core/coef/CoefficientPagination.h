#pragma once
// How the coefficient tables fall onto printed pages. Each table starts on a
// page of its own; a page holds one empty line, two header lines, the
// table's title, its column header row and then data rows, so a page of
// `pageLines` lines takes pageLines - 5 data rows. A table with no data rows
// gets no page at all. Page numbers run on across tables.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/coef/TupleTable.h"

namespace tessaro {

// Lines of a page that are not data rows.
inline constexpr int kPageOverheadLines = 5;

struct CoefficientPage {
  size_t table = 0;     // index into CoefficientTables::tables
  size_t firstRow = 0;  // first data row printed (1 or more)
  size_t endRow = 0;    // one past the last data row printed
  int number = 0;       // 1 for the first page of the job
};

// Whether a page of pageLines lines holds at least one data row.
inline bool PageHoldsRows(int pageLines) { return pageLines > kPageOverheadLines; }

// The pages of the whole job in print order. pageLines must satisfy
// PageHoldsRows (std::invalid_argument otherwise).
std::vector<CoefficientPage> PaginateCoefficients(const CoefficientTables& tables, int pageLines);

// "ROMタプル", "EEPタプル", "BATTタプル" or "FILE%dタプル".
std::string CoefficientTableTitle(const Area& area);

// Per column, the longest text of all rows of all tables, in half-width
// character cells (the text's CP932 byte count, so a kanji counts two);
// column 0 is never below 9. A printed column is as wide as its length + 2
// letters "W".
std::array<int, kTupleColumns> CoefficientColumnLengths(const CoefficientTables& tables);

}  // namespace tessaro
