#include "core/collect/SafeOutputFile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <filesystem>
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

// Whatever is not a writable regular file stays as it is, and the refusal
// says why; a symbolic link to a regular file leads to that file.
TEST(SafeOutputFileTest, OnlyWritableRegularFilesAreReplaced) {
  TempDir dir;
  const std::string fifo = dir.Join("fifo.csv");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  ASSERT_EQ(::mkdir(dir.Join("folder.csv").c_str(), 0755), 0);
  const std::string readOnly = dir.WriteFile("ro.csv", "earlier");
  ::chmod(readOnly.c_str(), 0444);
  ASSERT_EQ(::symlink(dir.Join("nothing").c_str(), dir.Join("dangling.csv").c_str()), 0);
  const struct {
    std::string path;
    const char* why;
  } refused[] = {
      {"/dev/null", "not a regular file"},
      {fifo, "not a regular file"},
      {dir.Join("folder.csv"), "Is a directory"},
      {readOnly, ::geteuid() == 0 ? "read-only file" : "Permission denied"},
      {dir.Join("dangling.csv"), "symbolic link to nothing"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.path);
    struct stat before {};
    ASSERT_EQ(::lstat(r.path.c_str(), &before), 0);
    SafeOutputFile out;
    EXPECT_FALSE(out.Create(r.path));
    EXPECT_EQ(out.Reason(), r.path + ": " + r.why);
    struct stat after {};
    ASSERT_EQ(::lstat(r.path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ino, before.st_ino);
  }
  EXPECT_EQ(TempDir::ReadAll(readOnly), "earlier");
  EXPECT_EQ(Names(dir.Path()),
            (std::set<std::string>{"fifo.csv", "folder.csv", "ro.csv", "dangling.csv"}));
}

TEST(SafeOutputFileTest, ReplacementKeepsLinkAndPermissions) {
  TempDir dir;
  const std::string real = dir.WriteFile("data/real.csv", "earlier");
  ::chmod(real.c_str(), 0640);
  const std::string link = dir.Join("link.csv");
  ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
  SafeOutputFile out;
  ASSERT_TRUE(out.Create(link));
  EXPECT_EQ(out.TemporaryPath().rfind(dir.Join("data/.real.csv."), 0), 0u);
  ASSERT_TRUE(out.Write("new"));
  ASSERT_TRUE(out.Commit());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(TempDir::ReadAll(real), "new");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Names(dir.Join("data")), std::set<std::string>{"real.csv"});
}

TEST(SafeOutputFileTest, RefusedExistingFileStaysAndAppearingOneIsNotReplaced) {
  TempDir dir;
  const std::string path = dir.WriteFile("out.RLB", "earlier");
  SafeOutputFile out;
  EXPECT_FALSE(out.Create(path, SafeOutputFile::Existing::Refuse));
  EXPECT_EQ(out.Reason(), path + ": File exists");

  // A file that appears under the name while the output is written is not
  // replaced without agreement either.
  const std::string late = dir.Join("late.RLB");
  ASSERT_TRUE(out.Create(late, SafeOutputFile::Existing::Refuse));
  ASSERT_TRUE(out.Write("new"));
  dir.WriteFile("late.RLB", "appeared");
  EXPECT_FALSE(out.Commit());
  EXPECT_EQ(TempDir::ReadAll(late), "appeared");
  EXPECT_EQ(TempDir::ReadAll(path), "earlier");
  EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"out.RLB", "late.RLB"}));
}

TEST(SafeOutputFileTest, MissingFolderFailsAtCreate) {
  TempDir dir;
  SafeOutputFile out;
  EXPECT_FALSE(out.Create(dir.Join("no/such/folder/out.csv")));
  EXPECT_FALSE(out.Create(dir.Path() + "/"));
}

}  // namespace
}  // namespace tessaro
