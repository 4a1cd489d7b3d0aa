#pragma once
// Writing one coefficient, the common part of edit, paste and
// `tessaro-cli coef --set`: the write command of the row's tab and tuple
// with a value text the editor made (EntryValueText), then the row's value
// replaced by the value the recorder reports it stored. A refusal ("??")
// fails and leaves the row as it was; the ROM is never written.

#include <cstddef>
#include <string>

#include "core/coef/TupleTable.h"
#include "core/collect/StepResult.h"

namespace tessaro {

class LineContext;

struct CoefficientWrite {
  std::string command;  // as sent, UTF-8; empty when nothing was sent
  StepResult result;
};

CoefficientWrite WriteCoefficient(LineContext& line, TupleTable& table, size_t row,
                                  const std::string& valueText);

}  // namespace tessaro
