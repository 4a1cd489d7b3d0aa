#include "core/coef/CoefficientWriter.h"

#include "core/coef/TupleTab.h"
#include "core/coef/TupleValueText.h"
#include "core/line/LineFacade.h"
#include "core/recorder/RecorderReply.h"
#include "core/support/CodePage.h"
#include "core/support/Messages.h"

namespace tessaro {

CoefficientWrite WriteCoefficient(LineContext& line, TupleTable& table, size_t row,
                                  const std::string& valueText) {
  auto failed = [](int message, std::string command = {}) {
    return CoefficientWrite{std::move(command), StepResult::Failure(LoadMessage(message))};
  };
  if (!table.area.Writable()) return failed(MsgRomNotWritable);
  if (row < 1 || row >= table.rows.size()) return failed(MsgCoefWriteFailed);
  TupleRow& target = table.rows[row];
  const auto number = TupleRowNumber(target);
  const auto type = TupleTypeFromName(target.fields[ColumnType]);
  if (!number || !type) return failed(MsgCoefWriteFailed);

  const std::string command = table.area.WriteCommand(*number, valueText);
  std::string reply;
  if (!LineCommand(line, Utf8ToCp932(command), reply) || IsRefusal(reply))
    return failed(MsgCoefWriteFailed, command);
  target.fields[ColumnValue] = ReplyValueText(*type, reply);
  return {command, StepResult::Success()};
}

}  // namespace tessaro
