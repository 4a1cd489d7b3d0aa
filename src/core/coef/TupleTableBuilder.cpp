#include "core/coef/TupleTableBuilder.h"

#include <cstdio>

#include "core/coef/TupleTab.h"
#include "core/coef/TupleValueText.h"
#include "core/coef/TupleWalk.h"
#include "core/support/DefinitionDb.h"
#include "core/support/Messages.h"
#include "core/support/ProgressReporter.h"

namespace tessaro {
namespace {

std::string Digits(const char* format, int value) {
  char text[24];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

TupleRow TupleTableBuilder::HeaderRow(const Area& area) {
  return TupleRow{{TupleCodePrefix(area), LoadMessage(MsgCoefHeaderCode),
                   LoadMessage(MsgCoefHeaderType), LoadMessage(MsgCoefHeaderValue),
                   LoadMessage(MsgCoefHeaderDescription)}};
}

TupleTable TupleTableBuilder::Empty(const Area& area) {
  return TupleTable{area, {HeaderRow(area)}};
}

const std::string& TupleTableBuilder::Description(int number) {
  auto found = descriptions_.find(number);
  if (found == descriptions_.end())
    found = descriptions_.emplace(number, db_.FindTupleText(number)).first;
  return found->second;
}

TupleTable TupleTableBuilder::Build(const Area& area, std::span<const uint8_t> image,
                                    int64_t start) {
  progress_.SetMessage(FormatMessage(MsgCoefTableBuilding, TupleTabName(area).c_str()));
  progress_.SetPercent(0);
  const TupleWalk walk = WalkTupleArea(image, start);
  TupleTable table = Empty(area);
  table.rows.reserve(walk.tuples.size() + 1);
  const std::string prefix = TupleCodePrefix(area);
  const auto count = static_cast<int>(walk.tuples.size());
  int percent = 0;
  for (int k = 1; k <= count; ++k) {
    const RecorderTuple& tuple = walk.tuples[static_cast<size_t>(k - 1)];
    std::string description = Description(tuple.number);
    if (description.empty()) {
      if (!undescribed_) progress_.FlashError(LoadMessage(MsgDefinitionsOutdated));
      undescribed_ = true;
      description = " ";
    }
    table.rows.push_back(
        TupleRow{{Digits("%.5d", k), prefix + Digits("%.4d", tuple.number),
                  TupleTypeName(tuple.type), FormatTupleValue(tuple), std::move(description)}});
    if (k * 100 / count != percent) {
      percent = k * 100 / count;
      progress_.SetPercent(percent);
    }
  }
  if (walk.fault != TupleWalkFault::None) progress_.FlashError(LoadMessage(MsgTupleDataInvalid));
  progress_.SetPercent(100);
  return table;
}

}  // namespace tessaro
