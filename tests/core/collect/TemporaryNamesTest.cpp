#include "core/collect/TemporaryNames.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/support/OwnedTemporary.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

TEST(TemporaryNamesTest, OnlyTheProgramsOwnPatternsMatch) {
  const struct {
    const char* name;
    bool output;
    bool work;
  } cases[] = {
      {".DT2026120800.CSV.a8Zk3Q.tessaro-tmp", true, false},
      {".x.000000.tessaro-tmp", true, false},
      {"DT2026120800.CSV.a8Zk3Q.tessaro-tmp", false, false},  // not hidden
      {".DT2026120800.CSV.a8Zk3.tessaro-tmp", false, false},  // short token
      {".DT2026120800.CSV.a8Z-3Q.tessaro-tmp", false, false},
      {".DT2026120800.CSV.a8Zk3Q.tessaro-tmp.bak", false, false},
      {".a8Zk3Q.tessaro-tmp", false, false},  // no name
      {"CVXWIN0.TMP", false, true},
      {"CVXWIN9999.TMP", false, true},
      {"CVXWIN10000.TMP", false, false},
      {"CVXWIN01.TMP", false, false},
      {"CVXWIN.TMP", false, false},
      {"CVXWIN1.TMP.old", false, false},
      {"cvxwin1.tmp", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsOutputTemporaryName(c.name), c.output);
    EXPECT_EQ(IsWorkFileName(c.name), c.work);
  }
  EXPECT_TRUE(IsOutputTemporaryName(OutputTemporaryName(std::string(300, 'n'), "abcdef")));
  EXPECT_LE(OutputTemporaryName(std::string(300, 'n'), "abcdef").size(), 255u);
  EXPECT_TRUE(IsWorkFileName(WorkFileName(42)));
}

TEST(TemporaryNamesTest, SweepRemovesOnlyUnlockedLeftovers) {
  TempDir dir;
  const std::string staleOutput = dir.WriteFile(".out.csv.AAAAAA.tessaro-tmp", "stale");
  const std::string staleWork = dir.WriteFile("CVXWIN3.TMP", "stale");
  const std::string lookalike = dir.WriteFile(".out.csv.AAAAAA.tessaro-tmp.keep", "user");
  const std::string user = dir.WriteFile("CVXWIN3.TMP.txt", "user");
  const std::string target = dir.WriteFile("target", "kept");
  const std::string link = dir.Join(".l.BBBBBB.tessaro-tmp");
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  ASSERT_EQ(::mkdir(dir.Join("CVXWIN5.TMP").c_str(), 0700), 0);
  OwnedTemporary live = OwnedTemporary::Create(dir.Join(".live.CCCCCC.tessaro-tmp"));
  OwnedTemporary liveWork = OwnedTemporary::Create(dir.Join("CVXWIN0.TMP"));
  ASSERT_TRUE(live.IsOpen() && liveWork.IsOpen());

  EXPECT_EQ(RemoveStaleTemporaries({dir.Path()}), 2);
  using std::filesystem::exists;
  EXPECT_FALSE(exists(staleOutput));
  EXPECT_FALSE(exists(staleWork));
  for (const std::string& kept :
       {lookalike, user, target, live.Path(), liveWork.Path(), dir.Join("CVXWIN5.TMP")})
    EXPECT_TRUE(exists(kept)) << kept;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(TempDir::ReadAll(target), "kept");

  // Once its owner lets go, a temporary is a leftover like any other.
  live.Handle().Close();
  const std::string released = live.Path();
  EXPECT_EQ(RemoveStaleTemporaries({dir.Path()}), 1);
  EXPECT_FALSE(exists(released));
}

TEST(TemporaryNamesTest, CreateNeverTakesAnExistingName) {
  TempDir dir;
  const std::string target = dir.WriteFile("target", "kept");
  const std::string link = dir.Join("CVXWIN0.TMP");
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  EXPECT_FALSE(OwnedTemporary::Create(link).IsOpen());
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(TempDir::ReadAll(target), "kept");
}

}  // namespace
}  // namespace tessaro
