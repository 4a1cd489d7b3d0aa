#pragma once
// Reading the recorder's control coefficients: the identity commands, the
// ROM, EEP and BATT areas by block transfer, then one table per area and
// per ring's FILE group. The coefficient view and tessaro-cli share it.
//
//   CoefficientTables tables;
//   StepResult read = ReadCoefficients(line, progress, db, highSpeed, tables);
//   for (const TupleTable& table : tables.tables) ... table.rows ...

#include <cstdint>
#include <vector>

#include "core/coef/TupleTable.h"
#include "core/collect/StepResult.h"

namespace tessaro {

class DefinitionDb;
class LineContext;
class ProgressReporter;

// FILE groups the tables hold at most; a recorder reporting more rings
// shows its first ones.
inline constexpr int kMaxFileGroups = 512;

// The three areas as received.
struct TupleAreaImages {
  std::vector<uint8_t> rom;
  std::vector<uint8_t> eep;
  std::vector<uint8_t> batt;  // the BATT tuples, then the FILE groups
};

// The whole read, with status and percentage on progress. The line check
// comes first. On failure tables holds nothing and the result carries the
// first failure's text.
StepResult ReadCoefficients(LineContext& line, ProgressReporter& progress, const DefinitionDb& db,
                            bool highSpeedMode, CoefficientTables& tables);

// The part after the transfers: the tables of ROM, EEP, BATT and of
// ringCount FILE groups, located by ROM tuple 115 (the stride between
// groups, from BATT tuple 640) or, without a positive stride, by BATT tuple
// 640 + ring. A missing pointer tuple fails; a pointer of -1 or outside the
// BATT image gives a tab with the header row only.
StepResult BuildCoefficientTables(const TupleAreaImages& images, int ringCount,
                                  const DefinitionDb& db, ProgressReporter& progress,
                                  CoefficientTables& tables);

}  // namespace tessaro
