#pragma once
// Builds the rows of one tab from a received tuple area: the header row,
// then one row per tuple with its number, code, type name, value text and
// description. One builder makes all the tabs of a read: it looks each
// description up once, and says once that descriptions are missing (a
// recorder with hundreds of FILE groups would otherwise flash it for
// minutes).

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>

#include "core/coef/TupleTable.h"
#include "core/recorder/Area.h"

namespace tessaro {

class DefinitionDb;
class ProgressReporter;

class TupleTableBuilder {
 public:
  TupleTableBuilder(const DefinitionDb& db, ProgressReporter& progress)
      : db_(db), progress_(progress) {}

  // The header row of a tab.
  static TupleRow HeaderRow(const Area& area);

  // The tab of the area starting at offset start of image. A malformed area
  // flashes the transferred-tuples message and keeps the rows before the
  // fault. The first tuple without a description flashes the
  // outdated-definitions message.
  TupleTable Build(const Area& area, std::span<const uint8_t> image, int64_t start);
  // A tab with the header row only.
  static TupleTable Empty(const Area& area);

 private:
  const std::string& Description(int number);

  const DefinitionDb& db_;
  ProgressReporter& progress_;
  std::unordered_map<int, std::string> descriptions_;
  bool undescribed_ = false;
};

}  // namespace tessaro
