#include "core/support/DefinitionDb.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <atomic>
#include <thread>

#include "core/support/DateTime.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

std::string ShippedDb() { return std::string(TESSARO_BIN_DIR) + "/DB/Master.mdb"; }

// Characters, not bytes: the database holds UTF-8.
size_t Characters(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

// A database of our own, with column names unlike the shipped ones: the
// lookups go by position.
std::string MakeDb(const TempDir& dir, const std::string& sql) {
  const std::string path = dir.Join("test.mdb");
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
      << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
  return path;
}

class ShippedDbTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db.Open(ShippedDb())) << ShippedDb(); }
  DefinitionDb db;
};

TEST_F(ShippedDbTest, EveryIntervalWithADurationHasNamesInBothLanguages) {
  int named = 0;
  for (int code = 0; code < 1000; ++code) {
    db.SetLanguage(DefinitionDb::Language::Japanese);
    const std::string ja = db.FindIntervalName(code);
    db.SetLanguage(DefinitionDb::Language::English);
    const std::string en = db.FindIntervalName(code);
    EXPECT_EQ(ja.empty(), IntervalSeconds(code) == 0) << code;
    EXPECT_EQ(en.empty(), IntervalSeconds(code) == 0) << code;
    named += !ja.empty();
  }
  EXPECT_EQ(named, 51);
  db.SetLanguage(DefinitionDb::Language::Japanese);
  EXPECT_EQ(db.FindIntervalName(406), "10 分");
  EXPECT_EQ(db.IntervalText(300), "1 秒");
  db.SetLanguage(DefinitionDb::Language::English);
  EXPECT_EQ(db.FindIntervalName(406), "10 min");
  db.SetLanguage(DefinitionDb::Language::Other);
  EXPECT_EQ(db.FindIntervalName(406), "");
  EXPECT_EQ(db.IntervalText(406), "");
}

TEST_F(ShippedDbTest, ModesFitTheirSlotsAndUnknownModesAreEmpty) {
  const int codes[] = {1,   2,   3,   120, 138, 300, 600, 601, 602, 603, 604, 605, 606, 607,
                       159, 168, 191, 193, 195, 196, 701, 712, 713, 716, 717, 722, 723, 731};
  for (int code : codes) {
    const ModeTexts t = db.FindModeTexts(code);
    EXPECT_FALSE(t.a.empty()) << code;
    EXPECT_FALSE(t.label.empty()) << code;
    EXPECT_LE(Characters(t.a), 32u) << code;
    EXPECT_LE(Characters(t.b), 32u) << code;
    EXPECT_LE(Characters(t.c), 32u) << code;
    EXPECT_LE(Characters(t.label), 31u) << code;
    // A CSV heading: no separators or quotes.
    EXPECT_EQ(t.label.find_first_of(",\"\r\n"), std::string::npos) << code;
  }
  EXPECT_EQ(db.FindModeTexts(138).a, "PULSE.TIME");
  EXPECT_EQ(db.FindModeTexts(603).a + db.FindModeTexts(603).b,
            "Most of WinDIR(50-60min/Hour Mode)");
  const ModeTexts unknown = db.FindModeTexts(999);
  EXPECT_EQ(unknown.a + unknown.b + unknown.c + unknown.label, "");
}

TEST_F(ShippedDbTest, TupleDescriptions) {
  for (int code : {100, 101, 102, 106, 107, 108,  109,  120,  202,  210,  211,  234,  280,
                   620, 627, 640, 671, 800, 801,  802,  805,  806,  880,  881,  240,  259,
                   260, 279, 820, 840, 860, 2000, 2031, 2100, 2200, 2300, 2331, 3000, 3031})
    EXPECT_FALSE(db.FindTupleText(code).empty()) << code;
  EXPECT_EQ(db.FindTupleText(210), "シリアル番号");
  EXPECT_EQ(db.FindTupleText(12345), "");
}

TEST_F(ShippedDbTest, ConcurrentLookupsStayCorrect) {
  const std::string expected = db.FindModeTexts(2).label;
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        if (db.FindModeTexts(2).label != expected) ++wrong;
        if (!db.FindModeTexts(999).a.empty()) ++wrong;
        if (db.IntervalText(1105) != "5 分") ++wrong;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(wrong, 0);
}

TEST(DefinitionDbTest, IntervalTextRanges) {
  TempDir dir;
  DefinitionDb db;
  ASSERT_TRUE(db.Open(MakeDb(dir,
                             "CREATE TABLE ITVL (K INTEGER, X TEXT, Y TEXT);"
                             "CREATE TABLE MODE (K INTEGER, A, B, C, D);"
                             "CREATE TABLE TPL (K INTEGER, X);"
                             "INSERT INTO ITVL VALUES (999, 'nine nine nine', 'e999');")));
  // The key column must be called CODE; without it nothing is found.
  EXPECT_EQ(db.FindIntervalName(999), "");

  TempDir dir2;
  ASSERT_TRUE(db.Open(MakeDb(dir2,
                             "CREATE TABLE ITVL (CODE INTEGER, X TEXT, Y TEXT);"
                             "CREATE TABLE MODE (CODE INTEGER, A, B, C, D);"
                             "CREATE TABLE TPL (CODE INTEGER, X);"
                             "INSERT INTO ITVL VALUES (999, 'ja999', 'en999');")));
  db.SetLanguage(DefinitionDb::Language::English);
  EXPECT_EQ(db.IntervalText(999), "en999");
  EXPECT_EQ(db.IntervalText(998), "");
  EXPECT_EQ(db.IntervalText(1000), "0 秒");
  EXPECT_EQ(db.IntervalText(1010), "10 秒");
  EXPECT_EQ(db.IntervalText(1099), "99 秒");
  EXPECT_EQ(db.IntervalText(1105), "5 分");
  EXPECT_EQ(db.IntervalText(1200), "0 時間");
  EXPECT_EQ(db.IntervalText(1299), "99 時間");
  EXPECT_EQ(db.IntervalText(1300), "");
  EXPECT_EQ(db.IntervalText(5000), "");
}

TEST(DefinitionDbTest, TextsAreTrimmedAndReadByPosition) {
  TempDir dir;
  DefinitionDb db;
  ASSERT_TRUE(db.Open(
      MakeDb(dir,
             "CREATE TABLE ITVL (CODE INTEGER PRIMARY KEY, J TEXT, E TEXT);"
             "CREATE TABLE MODE (CODE INTEGER PRIMARY KEY, T1, T2, T3, T4, EXTRA);"
             "CREATE TABLE TPL (CODE INTEGER PRIMARY KEY, D);"
             "INSERT INTO MODE VALUES (7, '  volt ', char(9) || 'b' || char(13) || char(10), NULL, "
             "'  全角 ', 'x');"
             "INSERT INTO TPL VALUES (1, ' desc' || char(0) || ' ');"
             "INSERT INTO ITVL VALUES (5, ' 五 ', ' five ');")));
  const ModeTexts t = db.FindModeTexts(7);
  EXPECT_EQ(t.a, "volt");
  EXPECT_EQ(t.b, "b");
  EXPECT_EQ(t.c, "");
  EXPECT_EQ(t.label, "全角");
  EXPECT_EQ(db.FindTupleText(1), "desc");
  db.SetLanguage(DefinitionDb::Language::Japanese);
  EXPECT_EQ(db.FindIntervalName(5), "五");
  db.SetLanguage(DefinitionDb::Language::English);
  EXPECT_EQ(db.FindIntervalName(5), "five");
}

TEST(DefinitionDbTest, MissingOrBrokenDatabase) {
  TempDir dir;
  DefinitionDb db;
  EXPECT_FALSE(db.Open(dir.Join("absent.mdb")));
  EXPECT_FALSE(db.IsOpen());
  // Lookups on a closed database are empty, not errors.
  EXPECT_EQ(db.FindModeTexts(1).a, "");
  EXPECT_EQ(db.FindTupleText(210), "");
  EXPECT_EQ(db.IntervalText(1105), "5 分");
  // A file without the three tables is not a definitions database.
  EXPECT_FALSE(db.Open(MakeDb(dir, "CREATE TABLE ITVL (CODE, A, B);")));
  EXPECT_FALSE(db.Open(dir.WriteFile("junk.mdb", std::string(4096, 'x'))));
  // Read only: the file is never changed.
  const std::string shipped = TempDir::ReadAll(ShippedDb());
  ASSERT_TRUE(db.Open(ShippedDb()));
  db.FindModeTexts(1);
  db.Close();
  EXPECT_EQ(TempDir::ReadAll(ShippedDb()), shipped);
}

TEST(DefinitionDbTest, LanguageFromTheLocale) {
  struct Saved {
    const char* name;
    std::string value;
    bool set;
  };
  std::vector<Saved> saved;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = getenv(name);
    saved.push_back({name, v ? v : "", v != nullptr});
    unsetenv(name);
  }
  using L = DefinitionDb::Language;
  EXPECT_EQ(DefinitionDb::UserLanguage(), L::English);
  setenv("LANG", "ja_JP.UTF-8", 1);
  EXPECT_EQ(DefinitionDb::UserLanguage(), L::Japanese);
  setenv("LC_MESSAGES", "de_DE.UTF-8", 1);
  EXPECT_EQ(DefinitionDb::UserLanguage(), L::Other);
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(DefinitionDb::UserLanguage(), L::English);
  setenv("LC_ALL", "en_GB", 1);
  EXPECT_EQ(DefinitionDb::UserLanguage(), L::English);
  setenv("LC_ALL", "ja", 1);
  EXPECT_EQ(DefinitionDb::UserLanguage(), L::Japanese);
  DefinitionDb db;
  EXPECT_EQ(db.GetLanguage(), L::Japanese);
  for (const auto& s : saved) {
    if (s.set)
      setenv(s.name, s.value.c_str(), 1);
    else
      unsetenv(s.name);
  }
}

TEST(DefinitionDbTest, TypeNames) {
  EXPECT_EQ(TupleTypeName(0), "文字型");
  EXPECT_EQ(TupleTypeName(1), "整数型");
  EXPECT_EQ(TupleTypeName(11), "整数型");
  EXPECT_EQ(TupleTypeName(10), "正整数型");
  EXPECT_EQ(TupleTypeName(2), "倍長整数型");
  EXPECT_EQ(TupleTypeName(6), "日付時刻型");
  EXPECT_EQ(TupleTypeName(7), "メモ16型");
  EXPECT_EQ(TupleTypeName(22), "ビット32型");
  for (int type : {-1, 8, 9, 12, 19, 23, 150}) EXPECT_EQ(TupleTypeName(type), "") << type;
}

TEST(DefinitionDbTest, ModeListLinesUpInFixedPitch) {
  const std::vector<ModeTexts> modes = {{"電圧", "DC ±1V", "0.1mV", "V"},
                                        {"Most of WinDIR", "(Integral Mode)", "ﾃｽﾄ", "W"}};
  const ModeTextWidths w = MeasureModeTexts(modes);
  EXPECT_EQ(w.a, 14);
  EXPECT_EQ(w.b, 15);  // ± takes two columns, as two bytes in the recorder's code page
  EXPECT_EQ(w.c, 5);
  EXPECT_EQ(ModeListText(modes[0], w), "[電圧          ][DC ±1V        ][0.1mV]");
  EXPECT_EQ(ModeListText(modes[1], w), "[Most of WinDIR][(Integral Mode)][ﾃｽﾄ  ]");
  EXPECT_EQ(ModeListText({}, {}), "[][][]");
}

}  // namespace
}  // namespace tessaro
