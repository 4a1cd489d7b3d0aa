#include <gtest/gtest.h>

#include "core/coef/CoefficientEntry.h"
#include "core/coef/CoefficientReader.h"
#include "core/coef/CoefficientWriter.h"
#include "core/coef/TupleTab.h"
#include "core/coef/TupleValueText.h"
#include "core/line/LineFacade.h"
#include "core/support/DefinitionDb.h"
#include "core/support/Messages.h"
#include "support/RecordingProgress.h"
#include "support/SimLine.h"

namespace tessaro {
namespace {

class CoefficientSimTest : public ::testing::Test {
 protected:
  explicit CoefficientSimTest(const std::string& profile = "default") : sim(profile) {}
  void SetUp() override {
    ASSERT_TRUE(db.Open(std::string(TESSARO_BIN_DIR) + "/DB/Master.mdb"));
    OpenSimLine(sim, line);
  }
  void TearDown() override { LineClose(line); }

  StepResult Read() { return ReadCoefficients(line, progress, db, false, tables); }
  const TupleRow& Row(const Area& area, int number) {
    for (TupleTable& table : tables.tables) {
      if (TupleTabName(table.area) != TupleTabName(area)) continue;
      for (const TupleRow& row : table.rows)
        if (row.fields[ColumnNo] != TupleCodePrefix(area) && TupleRowNumber(row) == number)
          return row;
    }
    ADD_FAILURE() << "no tuple " << number;
    static const TupleRow none;
    return none;
  }
  std::vector<std::string> AllRows() const {
    std::vector<std::string> rows;
    for (const TupleTable& table : tables.tables)
      for (const TupleRow& row : table.rows) rows.push_back(row.Text());
    return rows;
  }
  size_t RowIndex(const TupleTable& table, int number) {
    for (size_t k = 1; k < table.rows.size(); ++k)
      if (TupleRowNumber(table.rows[k]) == number) return k;
    return 0;
  }

  SimFixture sim;
  LineContext line;
  DefinitionDb db;
  RecordingProgress progress;
  CoefficientTables tables;
};

TEST_F(CoefficientSimTest, EveryAreaAndGroupIsShownWithItsValueTexts) {
  ASSERT_TRUE(Read()) << Read().message;
  EXPECT_EQ(tables.serialNumber, sim.Recorder().Serial());
  std::vector<std::string> tabs;
  for (const TupleTable& table : tables.tables) tabs.push_back(TupleTabName(table.area));
  EXPECT_EQ(tabs,
            (std::vector<std::string>{"ROM", "EEP", "BATT", "FILE1", "FILE2", "FILE3", "FILE4"}));
  const struct {
    int number;
    std::string value;
  } eep[] = {
      {400, "-00001"},
      {401, "-01234"},
      {402, "+65535"},
      {403, "+0123456789"},
      {404, "1.500000e+00"},
      {405, "-2.250000e-03"},
      {406, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"},
      {407, "26/12/08 10:23:45"},
      {408, "81h"},
      {409, "00A5h"},
      {410, "80000001h"},
      {411, "CALIBRATED"},
  };
  for (const auto& e : eep) EXPECT_EQ(Row(Area::Eep, e.number).fields[ColumnValue], e.value);
  EXPECT_EQ(Row(Area::Eep, 401).fields[ColumnType], "整数型");
  EXPECT_EQ(Row(Area::File(2), 202).fields[ColumnCode], "FILE0202");
  EXPECT_EQ(tables.tables[0].rows[0].Text(), "ROM;コード;タイプ;設定値;説明");
}

TEST_F(CoefficientSimTest, ARepeatedBlockShiftsNoTuple) {
  ASSERT_TRUE(Read());
  const std::vector<std::string> clean = AllRows();
  for (const char* transfer : {"rr", "ee", "bb"}) {
    SCOPED_TRACE(transfer);
    sim.Faults().Set({.repeatBlock = 1, .transferFilter = transfer});
    ASSERT_TRUE(Read());
    EXPECT_EQ(AllRows(), clean);
  }
}

TEST_F(CoefficientSimTest, FailuresEndTheReadWithTheirMessage) {
  const struct {
    sim::FaultSettings faults;
    int message;
  } cases[] = {
      {{.silentAfter = 0}, MsgLineCheckFailed},
      {{.silentAfter = 1}, MsgNoEchoBack},
      {{.refused = {"romr108"}}, MsgRingCountReadFailed},
      {{.refused = {"romr106"}}, MsgAttributeSizeReadFailed},
      {{.refused = {"eepr210"}}, MsgSerialReadFailed},
      {{.refused = {"xdm1krr"}}, MsgRomAreaFailed},
      {{.stopAfterBlock = 1, .transferFilter = "ee"}, MsgEepAreaFailed},
      {{.eotAfterBlocks = 1, .transferFilter = "bb"}, MsgFileAreaFailed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(LoadMessage(c.message));
    sim.Faults().Set(c.faults);
    const StepResult read = Read();
    EXPECT_EQ(read.message, LoadMessage(c.message));
    EXPECT_TRUE(tables.tables.empty());
  }
}

TEST_F(CoefficientSimTest, CancelStopsTheRead) {
  progress.CancelNow();
  EXPECT_EQ(Read().message, LoadMessage(MsgCancelPressed));
}

TEST_F(CoefficientSimTest, WritesSendTheEditorsFormAndShowTheStoredValue) {
  ASSERT_TRUE(Read());
  TupleTable& eep = tables.tables[1];
  const struct {
    int number;
    std::string typed;
    std::string command;
    std::string shown;
  } cases[] = {
      {401, "4321", "eepw401,+04321", "+04321"},
      {408, "A5h", "eepw408,165", "A5h"},
      {410, "FFFFFFFFh", "eepw410,4294967295", "FFFFFFFFh"},
      {407, "27/01/02 03:04:05", "eepw407,270102030405", "27/01/02 03:04:05"},
      {404, "-2.250000e-03", "eepw404,-2.250000e-03", "-2.250000e-03"},
      {411, "校正済み", "eepw411,校正済み", "校正済み"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const size_t row = RowIndex(eep, c.number);
    const auto type = TupleTypeFromName(eep.rows[row].fields[ColumnType]);
    const auto value = EntryValueText(type.value_or(-1), c.typed);
    ASSERT_TRUE(value.has_value());
    const CoefficientWrite write = WriteCoefficient(line, eep, row, *value);
    EXPECT_TRUE(write.result) << write.result.message;
    EXPECT_EQ(write.command, c.command);
    EXPECT_EQ(eep.rows[row].fields[ColumnValue], c.shown);
  }
}

TEST_F(CoefficientSimTest, ARefusedWriteLeavesTheRowAndTheRomIsNeverWritten) {
  ASSERT_TRUE(Read());
  TupleTable& eep = tables.tables[1];
  const size_t row = RowIndex(eep, 401);
  const std::string before = eep.rows[row].Text();
  sim.Faults().Set({.refused = {"eepw"}});
  const CoefficientWrite refused = WriteCoefficient(line, eep, row, "+00007");
  EXPECT_EQ(refused.result.message, LoadMessage(MsgCoefWriteFailed));
  EXPECT_EQ(eep.rows[row].Text(), before);

  sim.Faults().Clear();
  const CoefficientWrite rom = WriteCoefficient(line, tables.tables[0], 1, "+00001");
  EXPECT_EQ(rom.result.message, LoadMessage(MsgRomNotWritable));
  EXPECT_TRUE(rom.command.empty());
  EXPECT_TRUE(CommandsTaken(sim.Recorder(), "romw").empty());
  EXPECT_TRUE(CommandsTaken(sim.Recorder(), "eepw").empty());
}

class StrideSimTest : public CoefficientSimTest {
 protected:
  StrideSimTest() : CoefficientSimTest("rings40") {}
};

TEST_F(StrideSimTest, FortyGroupsAtTheRomStrideIn128ByteBlocks) {
  ASSERT_TRUE(Read());
  ASSERT_EQ(tables.tables.size(), 43u);
  EXPECT_EQ(TupleTabName(tables.tables.back().area), "FILE40");
  EXPECT_EQ(Row(Area::File(40), 802).fields[ColumnValue], "+0000000000");
  EXPECT_EQ(Row(Area::File(1), 802).fields[ColumnValue], "+0000000099");
  EXPECT_FALSE(CommandsTaken(sim.Recorder(), "xdmbb").empty());
}

}  // namespace
}  // namespace tessaro
