// Appending a ring's new records to one growing Corvex CSV file.

#include "core/collect/CsvAppend.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/TempDir.h"

namespace tessaro {
namespace {

const std::string kHeading = "NO,DATE-TIME, 1CH[T]\r\n";

// Records at 09:00, 09:10, ... numbered from first, values 10 * minute.
std::string Records(int from, int to, int firstNumber = 1) {
  std::string text;
  for (int m = from; m <= to; ++m) {
    char line[64];
    std::snprintf(line, sizeof line, "%06d,26/12/01 09:%02d:00,%d\r\n", firstNumber + m - from,
                  m * 10, m * 10);
    text += line;
  }
  return text;
}

struct PlanCase {
  const char* name;
  std::optional<std::string> existing;
  std::string ring;
  const char* refusal;  // a part of the refusal's text; null: accepted
  std::string result;   // the whole file afterwards
};

TEST(CsvAppend, PlansOnlyNewRecordsNumberedOn) {
  const std::vector<PlanCase> cases = {
      {"first run makes the file", std::nullopt, kHeading + Records(0, 2), nullptr,
       kHeading + Records(0, 2)},
      {"empty file counts as new", std::string(), kHeading + Records(0, 1), nullptr,
       kHeading + Records(0, 1)},
      {"grown ring adds the rest", kHeading + Records(0, 2), kHeading + Records(0, 4), nullptr,
       kHeading + Records(0, 4)},
      {"numbering goes on from the file", kHeading + Records(0, 1, 41), kHeading + Records(0, 3),
       nullptr, kHeading + Records(0, 3, 41)},
      {"restarted ring after the file", kHeading + Records(0, 1), kHeading + Records(3, 4), nullptr,
       kHeading + Records(0, 1) + Records(3, 4, 3)},
      {"nothing new", kHeading + Records(0, 2), kHeading + Records(0, 2), nullptr,
       kHeading + Records(0, 2)},
      {"header only file", kHeading, kHeading + Records(0, 1), nullptr, kHeading + Records(0, 1)},
      {"other channels", "NO,DATE-TIME, 1CH[P]\r\n" + Records(0, 1), kHeading + Records(0, 3),
       "does not match the channels", ""},
      {"clock went backwards", kHeading + Records(0, 4), kHeading + Records(0, 2),
       "clock went backwards", ""},
      {"same time, other value", kHeading + Records(0, 1),
       kHeading + "000001,26/12/01 09:00:00,0\r\n000002,26/12/01 09:10:00,99\r\n" + Records(2, 3),
       "clock went backwards", ""},
      {"truncated mid-line", kHeading + Records(0, 1) + "000003,26/12/0", kHeading + Records(0, 3),
       "ends in the middle of a line", ""},
      {"not our CSV", std::string("a,b,c\r\n1,2,3\r\n"), kHeading + Records(0, 1),
       "is not a Corvex CSV file", ""},
      {"unreadable ring times", std::nullopt, kHeading + "000001,--/--/-- --:--:--,1\r\n",
       "times of the ring cannot be read", ""},
  };
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(c.name);
    AppendPlan plan;
    const StepResult result = PlanAppend(c.existing, c.ring, "f.csv", plan);
    if (c.refusal != nullptr) {
      EXPECT_FALSE(result);
      EXPECT_NE(result.message.find(c.refusal), std::string::npos) << result.message;
      continue;
    }
    ASSERT_TRUE(result) << result.message;
    EXPECT_EQ(c.existing.value_or("") + plan.additions, c.result);
  }
}

TEST(CsvAppend, FileChangesOnlyWhenTheNewWholeFileIsInPlace) {
  TempDir dir;
  const std::string path = dir.WriteFile("a.csv", kHeading + Records(0, 1));
  AppendPlan plan;
  // A run that stops before the rename (killed) leaves the file as it was
  // and no temporary beside it.
  EXPECT_FALSE(AppendNewRecords(path, kHeading + Records(0, 3), plan, [] { return false; }));
  EXPECT_EQ(TempDir::ReadAll(path), kHeading + Records(0, 1));

  ASSERT_TRUE(AppendNewRecords(path, kHeading + Records(0, 3), plan));
  EXPECT_EQ(TempDir::ReadAll(path), kHeading + Records(0, 3));
  EXPECT_EQ(plan.count, 2);
  EXPECT_EQ(plan.firstTime, "26/12/01 09:20:00");
  EXPECT_EQ(plan.lastTime, "26/12/01 09:30:00");

  ::chmod(path.c_str(), 0444);
  EXPECT_FALSE(AppendNewRecords(path, kHeading + Records(0, 5), plan));
  EXPECT_EQ(TempDir::ReadAll(path), kHeading + Records(0, 3));
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
    entries += !e.path().empty();
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace tessaro
