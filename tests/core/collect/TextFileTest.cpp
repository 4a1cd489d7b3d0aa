#include "core/collect/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace tessaro {
namespace {

TEST(TextFileTest, ReadsLinesAndStepsBack) {
  TempDir dir;
  const std::string path = dir.WriteFile("a.txt", "first\r\nsecond\r\n\r\nlast line\r\ntail");
  TTextFile f;
  ASSERT_TRUE(f.OpenFile(path));
  EXPECT_EQ(f.FileSize(), 32);
  std::string line;
  f.SaveFilePos();
  ASSERT_TRUE(f.ReadLn(line));
  EXPECT_EQ(line, "first");
  ASSERT_TRUE(f.ReadLn(line));
  EXPECT_EQ(line, "second");
  EXPECT_EQ(f.GetFilePos(), 15);
  f.LoadFilePos();
  ASSERT_TRUE(f.ReadLn(line));
  EXPECT_EQ(line, "first");
  f.SeekFile(15, 0);
  ASSERT_TRUE(f.ReadLn(line));
  EXPECT_EQ(line, "");
  ASSERT_TRUE(f.ReadLn(line));
  EXPECT_EQ(line, "last line");
  // No CR LF after the last text: false, and the position moves past it.
  EXPECT_FALSE(f.ReadLn(line));
  EXPECT_EQ(f.GetFilePos(), 32);
  EXPECT_FALSE(f.ReadLn(line));
  EXPECT_EQ(f.SeekFile(-4, 2), 28);
  EXPECT_EQ(f.SeekFile(1, 1), 29);
  EXPECT_EQ(f.SeekFile(0, 7), -1);
  // A lone CR or LF is part of the line.
  const std::string odd = dir.WriteFile("b.txt", "a\rb\nc\r\n");
  ASSERT_TRUE(f.OpenFile(odd));
  ASSERT_TRUE(f.ReadLn(line));
  EXPECT_EQ(line, "a\rb\nc");
}

TEST(TextFileTest, LongestLineAndEndOfFileMark) {
  TempDir dir;
  TTextFile f;
  std::string line;
  ASSERT_TRUE(f.OpenFile(dir.WriteFile("511", std::string(511, 'x') + "\r\nnext\r\n")));
  ASSERT_TRUE(f.ReadLn(line));
  EXPECT_EQ(line.size(), 511u);
  ASSERT_TRUE(f.ReadLn(line));
  EXPECT_EQ(line, "next");
  ASSERT_TRUE(f.OpenFile(dir.WriteFile("512", std::string(512, 'x') + "\r\n")));
  EXPECT_FALSE(f.ReadLn(line));
  ASSERT_TRUE(f.OpenFile(dir.WriteFile("eof",
                                       "\x1A"
                                       "line\r\n")));
  EXPECT_FALSE(f.ReadLn(line));
  ASSERT_TRUE(f.OpenFile(dir.WriteFile("empty", "")));
  EXPECT_EQ(f.FileSize(), 0);
  EXPECT_FALSE(f.ReadLn(line));
}

TEST(TextFileTest, WritesLinesWithCrLf) {
  TempDir dir;
  const std::string path = dir.WriteFile("w.txt", "old content that goes away");
  TTextFile f;
  ASSERT_TRUE(f.CreateFileA(path));
  EXPECT_TRUE(f.WriteLn("one"));
  EXPECT_TRUE(f.WriteLn(""));
  EXPECT_EQ(f.Write("ab", 2), 2);
  f.CloseFile();
  EXPECT_FALSE(f.CheckFile());
  EXPECT_EQ(TempDir::ReadAll(path), "one\r\n\r\nab");
  ASSERT_TRUE(f.OpenFile(path));
  char buf[16];
  EXPECT_EQ(f.Read(buf, sizeof buf), 9);
  // Opened read only: writing fails.
  EXPECT_FALSE(f.WriteLn("x"));
  EXPECT_FALSE(f.CreateFileA(dir.Join("no/such/folder/x.txt")));
  EXPECT_FALSE(f.CheckFile());
}

TEST(TextFileTest, ClosedInstanceTouchesNothing) {
  TempDir dir;
  TTextFile f;
  EXPECT_FALSE(f.OpenFile(dir.Join("absent.txt")));
  EXPECT_FALSE(f.CheckFile());
  std::string line = "kept";
  char buf[4];
  EXPECT_EQ(f.GetFilePos(), -1);
  EXPECT_EQ(f.SeekFile(0, 0), -1);
  EXPECT_FALSE(f.ReadLn(line));
  EXPECT_EQ(line, "kept");
  EXPECT_FALSE(f.WriteLn("x"));
  EXPECT_EQ(f.Read(buf, sizeof buf), 0);
  EXPECT_EQ(f.Write("x", 1), 0);
  f.SaveFilePos();
  f.LoadFilePos();
  f.CloseFile();
  EXPECT_EQ(f.SavedPos(), 0);
  EXPECT_EQ(f.FileSize(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

}  // namespace
}  // namespace tessaro
