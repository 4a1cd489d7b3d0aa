#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

#include "core/support/IniFile.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

IniFile FromText(const std::string& text) {
  IniFile ini;
  ini.SetText(text);
  return ini;
}

const char kSample[] =
    "; settings\n"
    "[ComPort]\n"
    "Port=COM3\n"
    "  baud = 9600  \n"
    "\n"
    "; line timeout\n"
    "[TcpPort]\n"
    "IpAddr=127.0.0.1\n"
    "Note=a=b \"quoted\"\n"
    "\n";

TEST(IniFileTest, LookupIgnoresCaseAndBlanks) {
  const IniFile ini = FromText(kSample);
  EXPECT_EQ(ini.ReadString("comport", "PORT", "x"), "COM3");
  EXPECT_EQ(ini.ReadString(" ComPort ", "Baud", "x"), "9600");
  EXPECT_EQ(ini.ReadString("TcpPort", "note", "x"), "a=b \"quoted\"");  // raw value
  EXPECT_EQ(ini.ReadString("TcpPort", "Port", "dflt"), "dflt");         // key of another section
  EXPECT_EQ(ini.ReadString("Missing", "Port", "dflt"), "dflt");
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"ComPort", "TcpPort"}));
  EXPECT_EQ(ini.Keys("comport"), (std::vector<std::string>{"Port", "baud"}));
}

TEST(IniFileTest, FirstSectionAndKeyWin) {
  const IniFile ini = FromText("k=outside\n[A]\nk=1\nK=2\n[a]\nk=3\n");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
  EXPECT_EQ(ini.ReadString("", "k", "none"), "none");  // lines before any section belong to none
}

TEST(IniFileTest, IntegersMustBeWholeNumbers) {
  const IniFile ini = FromText(
      "[N]\na=12\nb= -7 \nc=+5\nd=12abc\ne=abc\nf=\ng=99999999999\nh=0x10\ni=1e3\nj=+-1\nk=-\n");
  EXPECT_EQ(ini.ReadInteger("N", "a", 0), 12);
  EXPECT_EQ(ini.ReadInteger("N", "b", 0), -7);
  EXPECT_EQ(ini.ReadInteger("N", "c", 0), 5);
  for (const char* key : {"d", "e", "f", "g", "h", "i", "j", "k", "missing"})
    EXPECT_EQ(ini.ReadInteger("N", key, 38400), 38400) << key;
}

TEST(IniFileTest, WriteChangesOnlyThatLine) {
  IniFile ini = FromText(kSample);
  ASSERT_TRUE(ini.WriteString("COMPORT", "BAUD", "19200"));
  ASSERT_TRUE(ini.WriteInteger("comport", "port", 7));
  std::string expected = kSample;
  expected.replace(expected.find("  baud = 9600  "), 15, "  baud = 19200");
  expected.replace(expected.find("Port=COM3"), 9, "Port=7");
  EXPECT_EQ(ini.Text(), expected);
}

TEST(IniFileTest, NewKeysGoAfterTheLastKeyOfTheirSection) {
  IniFile ini = FromText(kSample);
  ASSERT_TRUE(ini.WriteString("ComPort", "Over", "3"));
  ASSERT_TRUE(ini.WriteString("TcpPort", "IpPort", "10001"));
  EXPECT_EQ(ini.Text(),
            "; settings\n[ComPort]\nPort=COM3\n  baud = 9600  \nOver=3\n\n; line timeout\n"
            "[TcpPort]\nIpAddr=127.0.0.1\nNote=a=b \"quoted\"\nIpPort=10001\n\n");
}

TEST(IniFileTest, NewSectionsGoAtTheEnd) {
  IniFile ini = FromText("[A]\nx=1");  // no final line break
  ASSERT_TRUE(ini.WriteString("B", "y", "2"));
  EXPECT_EQ(ini.Text(), "[A]\nx=1\n[B]\ny=2\n");
  IniFile empty;
  ASSERT_TRUE(empty.WriteString("Path", "Data", "/home/u/Documents/Tessaro/"));
  EXPECT_EQ(empty.Text(), "[Path]\nData=/home/u/Documents/Tessaro/\n");
  IniFile headerOnly = FromText("[A]\n; nothing yet\n");
  ASSERT_TRUE(headerOnly.WriteString("a", "k", "v"));
  EXPECT_EQ(headerOnly.Text(), "[A]\nk=v\n; nothing yet\n");
}

TEST(IniFileTest, KeepsCrLfAndByteOrderMark) {
  IniFile ini = FromText("\xEF\xBB\xBF[A]\r\nx=1\r\n");
  EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
  ASSERT_TRUE(ini.WriteString("A", "x", "2"));
  ASSERT_TRUE(ini.WriteString("A", "y", "3"));
  ASSERT_TRUE(ini.WriteString("B", "z", "4"));
  EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[A]\r\nx=2\r\ny=3\r\n[B]\r\nz=4\r\n");
}

TEST(IniFileTest, RefusesWritesThatWouldBreakTheFile) {
  IniFile ini = FromText(kSample);
  EXPECT_FALSE(ini.WriteString("ComPort", "Port", "COM1\n[Evil]"));
  EXPECT_FALSE(ini.WriteString("ComPort", "a=b", "1"));
  EXPECT_FALSE(ini.WriteString("Com]Port", "a", "1"));
  EXPECT_FALSE(ini.WriteString("ComPort", "", "1"));
  EXPECT_FALSE(ini.WriteString("", "a", "1"));
  EXPECT_FALSE(ini.WriteString("ComPort", ";a", "1"));
  EXPECT_EQ(ini.Text(), kSample);
}

TEST(IniFileTest, EraseKeyAndSection) {
  IniFile ini = FromText(kSample);
  EXPECT_TRUE(ini.EraseKey("comport", "BAUD"));
  EXPECT_FALSE(ini.EraseKey("comport", "BAUD"));
  EXPECT_TRUE(ini.EraseSection("TCPPORT"));
  EXPECT_FALSE(ini.HasSection("TcpPort"));
  EXPECT_EQ(ini.Text(), "; settings\n[ComPort]\nPort=COM3\n\n; line timeout\n");
}

TEST(IniFileTest, SaveAndLoadThroughTheDisk) {
  TempDir dir;
  const std::string path = dir.Join("TESSARO.INI");
  IniFile fresh(path);
  ASSERT_TRUE(fresh.Load());  // missing file: empty
  EXPECT_EQ(fresh.Text(), "");
  ASSERT_TRUE(fresh.WriteString("Path", "Data", "データ/フォルダ"));
  ASSERT_TRUE(fresh.Save());
  EXPECT_EQ(dir.ReadFile("TESSARO.INI"), "[Path]\nData=データ/フォルダ\n");

  IniFile again(path);
  ASSERT_TRUE(again.Load());
  EXPECT_EQ(again.ReadString("path", "data", ""), "データ/フォルダ");
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(IniFileTest, UpdateKeepsWhatOthersWrote) {
  TempDir dir;
  const std::string path = dir.WriteFile("a.ini", "[Rlb]\nKeep=1\n");
  ASSERT_TRUE(IniFile::Update(
      path, [](IniFile& ini) { return ini.WriteInteger("ComPort", "Baud", 9600); }));
  EXPECT_EQ(dir.ReadFile("a.ini"), "[Rlb]\nKeep=1\n[ComPort]\nBaud=9600\n");
  // A refused edit writes nothing.
  EXPECT_FALSE(IniFile::Update(path, [](IniFile& ini) {
    ini.WriteInteger("Rlb", "Keep", 2);
    return ini.WriteString("Rlb", "Bad", "two\nlines");
  }));
  EXPECT_EQ(dir.ReadFile("a.ini"), "[Rlb]\nKeep=1\n[ComPort]\nBaud=9600\n");
}

TEST(IniFileTest, UpdatesFromTwoThreadsLoseNothing) {
  TempDir dir;
  const std::string path = dir.Join("shared.ini");
  auto writer = [&path](const std::string& section) {
    for (int i = 0; i < 40; ++i)
      IniFile::Update(path, [&](IniFile& ini) {
        return ini.WriteInteger(section, "k" + std::to_string(i), i);
      });
  };
  std::thread a(writer, "A");
  std::thread b(writer, "B");
  a.join();
  b.join();
  IniFile ini(path);
  ASSERT_TRUE(ini.Load());
  EXPECT_EQ(ini.Keys("A").size(), 40u);
  EXPECT_EQ(ini.Keys("B").size(), 40u);
}

TEST(IniFileTest, FailuresAreReportedAndLeaveTheFileAlone) {
  TempDir dir;
  IniFile noFolder(dir.Join("missing/TESSARO.INI"));
  ASSERT_TRUE(noFolder.WriteString("A", "b", "c"));
  EXPECT_FALSE(noFolder.Save());
  EXPECT_EQ(noFolder.LastError(), ENOENT);

  std::filesystem::create_directory(dir.Join("adir"));
  IniFile isFolder(dir.Join("adir"));
  EXPECT_FALSE(isFolder.Load());
  EXPECT_FALSE(IniFile::Update(dir.Join("adir"), [](IniFile&) { return true; }));
  EXPECT_TRUE(std::filesystem::is_directory(dir.Join("adir")));
}

TEST(IniFileTest, SaveFollowsSymbolicLinksAndKeepsPermissions) {
  TempDir dir;
  const std::string real = dir.WriteFile("real.ini", "[A]\nx=1\n");
  ::chmod(real.c_str(), 0600);
  std::filesystem::create_symlink(real, dir.Join("link.ini"));
  ASSERT_TRUE(IniFile::Update(dir.Join("link.ini"),
                              [](IniFile& ini) { return ini.WriteString("A", "x", "2"); }));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Join("link.ini")));
  EXPECT_EQ(dir.ReadFile("real.ini"), "[A]\nx=2\n");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace tessaro
