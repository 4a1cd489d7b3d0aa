#pragma once
// The coefficient view's tables: one per tab (ROM, EEP, BATT, FILE1 ...),
// each a header row and one row per tuple. The view, the printout and
// `tessaro-cli coef` all show these rows as they stand.

#include <array>
#include <string>
#include <vector>

#include "core/recorder/Area.h"

namespace tessaro {

enum TupleColumn : int { ColumnNo, ColumnCode, ColumnType, ColumnValue, ColumnDescription };
inline constexpr int kTupleColumns = 5;

struct TupleRow {
  // An empty field is held as a single space.
  std::array<std::string, kTupleColumns> fields;

  // The fields joined by ";", as copied and listed.
  std::string Text() const {
    std::string text;
    for (int i = 0; i < kTupleColumns; ++i) {
      if (i) text += ';';
      text += fields[i].empty() ? std::string(" ") : fields[i];
    }
    return text;
  }
};

struct TupleTable {
  Area area = Area::Rom;       // Area::File(n) for the tab "FILEn"
  std::vector<TupleRow> rows;  // rows[0] is the header row
};

// Everything one read of the recorder's coefficients gives.
struct CoefficientTables {
  std::string serialNumber;        // reply to "eepr210", kept whole
  std::vector<TupleTable> tables;  // ROM, EEP, BATT, then FILE1 ...
};

}  // namespace tessaro
