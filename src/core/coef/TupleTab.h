#pragma once
// Names of the coefficient view's tabs and of the tuple codes on them:
// tab "ROM", "EEP", "BATT" or "FILE3"; code "EEP0210" (prefix and number).

#include <optional>
#include <string>
#include <string_view>

#include "core/coef/TupleTable.h"
#include "core/recorder/Area.h"

namespace tessaro {

// "ROM", "EEP", "BATT" or "FILE" (without the group number).
std::string TupleCodePrefix(const Area& area);
// "ROM", "EEP", "BATT" or "FILE%d".
std::string TupleTabName(const Area& area);
// The area of a tab name as TupleTabName writes it (FILE groups from 1).
std::optional<Area> ParseTupleTabName(std::string_view name);
// The tuple number of a row's code field ("EEP0210" -> 210).
std::optional<int> TupleRowNumber(const TupleRow& row);

}  // namespace tessaro
