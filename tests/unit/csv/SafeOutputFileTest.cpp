#include "core/collect/SafeOutputFile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "support/TempDir.h"

namespace tessaro {
namespace {

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.insert(name);
  }
  ::closedir(dir);
  return names;
}

TEST(SafeOutputFileTest, CommitPutsTheContentInPlace) {
  TempDir dir;
  const std::string path = dir.Join("out.csv");
  SafeOutputFile out;
  ASSERT_TRUE(out.Create(path));
  EXPECT_NE(out.TemporaryPath(), path);
  EXPECT_TRUE(out.Write("a,b\r\n"));
  EXPECT_TRUE(out.Write("c,d\r\n"));
  EXPECT_EQ(TempDir::ReadAll(path), "");  // nothing under the name before the commit
  ASSERT_TRUE(out.Commit());
  EXPECT_EQ(TempDir::ReadAll(path), "a,b\r\nc,d\r\n");
  EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"out.csv"});
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(SafeOutputFileTest, AbandonedOutputLeavesTheEarlierFileAlone) {
  TempDir dir;
  const std::string path = dir.WriteFile("out.csv", "earlier");
  {
    SafeOutputFile out;
    ASSERT_TRUE(out.Create(path));
    EXPECT_TRUE(out.Write("partial"));
  }
  EXPECT_EQ(TempDir::ReadAll(path), "earlier");
  EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"out.csv"});
}

TEST(SafeOutputFileTest, CommitReplacesTheEarlierFile) {
  TempDir dir;
  const std::string path = dir.WriteFile("out.csv", "earlier");
  SafeOutputFile out;
  ASSERT_TRUE(out.Create(path));
  EXPECT_TRUE(out.Write("new"));
  ASSERT_TRUE(out.Commit());
  EXPECT_EQ(TempDir::ReadAll(path), "new");
  EXPECT_FALSE(out.Write("late"));  // closed after the commit
}

TEST(SafeOutputFileTest, MissingFolderFailsAtCreate) {
  TempDir dir;
  SafeOutputFile out;
  EXPECT_FALSE(out.Create(dir.Join("no/such/folder/out.csv")));
  EXPECT_FALSE(out.Create(dir.Path() + "/"));
}

}  // namespace
}  // namespace tessaro
