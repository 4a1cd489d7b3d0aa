#include <gtest/gtest.h>

#include <filesystem>

#include "core/support/AppPaths.h"
#include "core/support/AppSettings.h"
#include "core/support/IniFile.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

class AppSettingsTest : public testing::Test {
 protected:
  AppSettingsTest() : paths_(MakeAppPaths(home_.Path(), "/opt/tessaro/bin")) {
    CreateSettingsFolder(paths_);
  }
  void WriteSettings(const std::string& text) {
    IniFile ini(paths_.settingsFile);
    ini.SetText(text);
    ASSERT_TRUE(ini.Save());
  }
  AppSettings Load() {
    AppSettings s;
    EXPECT_TRUE(LoadSettings(paths_.settingsFile, paths_.baseFolder, s));
    return s;
  }

  TempDir home_;
  AppPaths paths_;
};

TEST_F(AppSettingsTest, FreshUserGetsEveryDefault) {
  const AppSettings s = Load();
  EXPECT_EQ(s.line, LineSettings{});
  EXPECT_EQ(s.line.ComPort, "COM1");
  EXPECT_EQ(s.line.Baud, 38400);
  EXPECT_EQ(s.line.Data, 4);
  EXPECT_EQ(s.line.Stop, 0);
  EXPECT_EQ(s.line.Parity, 0);
  EXPECT_EQ(s.line.Over, 3);
  EXPECT_EQ(s.line.IpPort, 10001);
  EXPECT_EQ(s.dataFolder, paths_.baseFolder);
  EXPECT_FALSE(s.hasComPortKey);
  EXPECT_FALSE(std::filesystem::exists(paths_.settingsFile));  // reading creates nothing
}

TEST_F(AppSettingsTest, ReadsStoredValuesAndDefaultsGarbage) {
  WriteSettings(
      "[ComPort]\nPort=/dev/ttyUSB0\nBaud=abc\nData=3\nStop=2\nParity=1x\nOver=10\n"
      "[TcpPort]\nIpAddr=127.0.0.1\nIpPort=\n");
  const AppSettings s = Load();
  EXPECT_EQ(s.line.ComPort, "/dev/ttyUSB0");
  EXPECT_TRUE(s.hasComPortKey);
  EXPECT_EQ(s.line.Baud, 38400);
  EXPECT_EQ(s.line.Data, 3);
  EXPECT_EQ(s.line.Stop, 2);
  EXPECT_EQ(s.line.Parity, 0);
  EXPECT_EQ(s.line.Over, 10);
  EXPECT_EQ(s.line.IpAddr, "127.0.0.1");
  EXPECT_EQ(s.line.IpPort, 10001);
}

TEST_F(AppSettingsTest, EmptyPortIsAFirstStart) {
  WriteSettings("[ComPort]\nPort=  \n");
  const AppSettings s = Load();
  EXPECT_FALSE(s.hasComPortKey);
  EXPECT_EQ(s.line.ComPort, "COM1");
}

TEST_F(AppSettingsTest, DataFolderRules) {
  const std::string data = home_.Path() + "/data";
  std::filesystem::create_directory(data);
  WriteSettings("[Path]\nData=  " + data + "  \n");
  EXPECT_EQ(Load().dataFolder, data + "/");  // trimmed, ends with '/'

  WriteSettings("[Path]\nData=" + data + "/\n");
  EXPECT_EQ(Load().dataFolder, data + "/");

  WriteSettings("[Path]\nData=   \n");
  EXPECT_EQ(Load().dataFolder, paths_.baseFolder);

  std::filesystem::remove(data);
  WriteSettings("[Path]\nData=" + data + "\n");
  EXPECT_EQ(Load().dataFolder, paths_.baseFolder);
}

TEST_F(AppSettingsTest, RoundTripKeepsOtherSections) {
  WriteSettings("; user notes\n[Rlb]\nName=DT\n\n[Printer]\nName=Office\n");
  AppSettings s;
  s.line = {"TCP/IP", 9600, 3, 2, 2, 7, "127.0.0.1", 20000};
  s.dataFolder = home_.Path() + "/";
  ASSERT_TRUE(SaveSettings(paths_.settingsFile, s));
  s.hasComPortKey = true;

  AppSettings back;
  ASSERT_TRUE(LoadSettings(paths_.settingsFile, paths_.baseFolder, back));
  EXPECT_EQ(back.line, s.line);
  EXPECT_EQ(back.dataFolder, s.dataFolder);
  EXPECT_TRUE(back.hasComPortKey);

  IniFile ini(paths_.settingsFile);
  ASSERT_TRUE(ini.Load());
  EXPECT_EQ(ini.Text().rfind("; user notes\n[Rlb]\nName=DT\n\n[Printer]\nName=Office\n", 0), 0u);
  EXPECT_EQ(ini.Keys("ComPort").size(), 6u);
  EXPECT_EQ(ini.Keys("TcpPort").size(), 2u);
  EXPECT_EQ(ini.Keys("Path").size(), 1u);
}

TEST_F(AppSettingsTest, UnreadableFileKeepsDefaultsAndSaysSo) {
  std::filesystem::create_directory(paths_.settingsFile);  // a folder where the file should be
  AppSettings s;
  s.line.Baud = 1;
  EXPECT_FALSE(LoadSettings(paths_.settingsFile, paths_.baseFolder, s));
  EXPECT_EQ(s.line, LineSettings{});
  EXPECT_EQ(s.dataFolder, paths_.baseFolder);
  EXPECT_FALSE(SaveSettings(paths_.settingsFile, s));
}

TEST_F(AppSettingsTest, SettingThatWouldBreakTheFileIsNotWritten) {
  WriteSettings("[ComPort]\nPort=COM2\n");
  AppSettings s;
  s.line.ComPort = "COM3\n[Path]";
  EXPECT_FALSE(SaveSettings(paths_.settingsFile, s));
  EXPECT_EQ(TempDir::ReadAll(paths_.settingsFile), "[ComPort]\nPort=COM2\n");
}

TEST_F(AppSettingsTest, WindowPosition) {
  WindowPos pos;
  ASSERT_TRUE(LoadWindowPos(paths_.positionFile, pos));
  EXPECT_FALSE(pos.IsSaved());
  EXPECT_EQ(pos.top, -999);

  ASSERT_TRUE(SaveWindowPos(paths_.positionFile, {0, 0}));
  ASSERT_TRUE(LoadWindowPos(paths_.positionFile, pos));
  EXPECT_TRUE(pos.IsSaved());
  EXPECT_EQ(pos.left, 0);
  EXPECT_EQ(pos.top, 0);
  EXPECT_EQ(TempDir::ReadAll(paths_.positionFile), "[TESSARO]\nLeft=0\nTop=0\n");

  // Only Left decides; a missing Top stays -999.
  IniFile ini(paths_.positionFile);
  ini.SetText("[tessaro]\nLeft=120\n");
  ASSERT_TRUE(ini.Save());
  ASSERT_TRUE(LoadWindowPos(paths_.positionFile, pos));
  EXPECT_TRUE(pos.IsSaved());
  EXPECT_EQ(pos.left, 120);
  EXPECT_EQ(pos.top, -999);

  EXPECT_FALSE(SaveWindowPos(home_.Join("no/such/folder/TESSARO.POS"), {1, 2}));
}

}  // namespace
}  // namespace tessaro
