#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>
#include <vector>

#include "core/coef/CoefficientPagination.h"

namespace tessaro {
namespace {

TupleTable MakeTable(Area area, size_t dataRows) {
  TupleTable table{area, {}};
  table.rows.resize(dataRows + 1);
  return table;
}

using Page = std::tuple<size_t, size_t, size_t, int>;  // table, first row, end row, number

std::vector<Page> Pages(const std::vector<size_t>& dataRows, int pageLines) {
  CoefficientTables tables;
  for (size_t rows : dataRows) tables.tables.push_back(MakeTable(Area::Eep, rows));
  std::vector<Page> pages;
  for (const CoefficientPage& p : PaginateCoefficients(tables, pageLines))
    pages.emplace_back(p.table, p.firstRow, p.endRow, p.number);
  return pages;
}

TEST(CoefficientPaginationTest, SplitsTablesIntoPages) {
  struct Case {
    const char* name;
    std::vector<size_t> dataRows;
    int pageLines;
    std::vector<Page> expected;
  };
  const Case cases[] = {
      {"one page exactly full", {3}, 8, {{0, 1, 4, 1}}},
      {"one row over a full page", {4}, 8, {{0, 1, 4, 1}, {0, 4, 5, 2}}},
      {"numbers run on, each table on a new page",
       {7, 1},
       8,
       {{0, 1, 4, 1}, {0, 4, 7, 2}, {0, 7, 8, 3}, {1, 1, 2, 4}}},
      {"header-only tables print nothing", {0, 2, 0, 0, 1}, 10, {{1, 1, 3, 1}, {4, 1, 2, 2}}},
      {"smallest page: one row each", {2}, 6, {{0, 1, 2, 1}, {0, 2, 3, 2}}},
      {"no tables", {}, 40, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Pages(c.dataRows, c.pageLines), c.expected) << c.name;
}

TEST(CoefficientPaginationTest, RefusesPagesWithoutRoomForARow) {
  EXPECT_FALSE(PageHoldsRows(5));
  EXPECT_TRUE(PageHoldsRows(6));
  EXPECT_THROW(Pages({1}, 5), std::invalid_argument);
  EXPECT_THROW(Pages({1}, 0), std::invalid_argument);
}

TEST(CoefficientPaginationTest, TitlesNameTheAreaAndFileGroup) {
  EXPECT_EQ(CoefficientTableTitle(Area::Rom), "ROMタプル");
  EXPECT_EQ(CoefficientTableTitle(Area::Eep), "EEPタプル");
  EXPECT_EQ(CoefficientTableTitle(Area::Batt), "BATTタプル");
  EXPECT_EQ(CoefficientTableTitle(Area::File(1)), "FILE1タプル");
  EXPECT_EQ(CoefficientTableTitle(Area::File(512)), "FILE512タプル");
}

TEST(CoefficientPaginationTest, ColumnLengthsCountHalfWidthCellsOverAllTables) {
  CoefficientTables tables;
  tables.tables.push_back(
      {Area::Rom,
       {{{"NO", "ｺｰﾄﾞ", "型", "設定値", "説明"}}, {{"1", "ROM0000", "整数型", "+00012", "ｼﾘｱﾙ"}}}});
  tables.tables.push_back({Area::Eep,
                           {{{"NO", "ｺｰﾄﾞ", "型", "設定値", "説明"}},
                            {{"12345678901", "EEP0210", "メモ型", "ABC", "温度の補正値"}}}});
  // Half-width katakana count one cell, kanji and full-width kana two.
  const std::array<int, kTupleColumns> expected{11, 7, 6, 6, 12};
  EXPECT_EQ(CoefficientColumnLengths(tables), expected);

  tables.tables.erase(tables.tables.begin() + 1);
  EXPECT_EQ(CoefficientColumnLengths(tables)[ColumnNo], 9);  // never below 9
  EXPECT_EQ(CoefficientColumnLengths(CoefficientTables{})[ColumnValue], 0);
}

}  // namespace
}  // namespace tessaro
