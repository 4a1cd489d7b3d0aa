#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>

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
  // Something other than a file in place of the settings or position file
  // is unreadable at once (a FIFO would wait for a writer) and stays put.
  const auto folder = [](const std::string& path) { std::filesystem::create_directory(path); };
  const auto fifo = [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); };
  const auto device = [](const std::string& path) {
    std::filesystem::create_symlink("/dev/zero", path);
  };
  for (const auto& make : {std::function<void(const std::string&)>(folder), {fifo}, {device}}) {
    make(paths_.settingsFile);
    make(paths_.positionFile);
    const auto type = std::filesystem::symlink_status(paths_.settingsFile).type();
    AppSettings s;
    s.line.Baud = 1;
    EXPECT_FALSE(LoadSettings(paths_.settingsFile, paths_.baseFolder, s));
    EXPECT_EQ(s.line, LineSettings{});
    EXPECT_EQ(s.dataFolder, paths_.baseFolder);
    EXPECT_FALSE(SaveSettings(paths_.settingsFile, s));
    WindowPos pos;
    EXPECT_FALSE(LoadWindowPos(paths_.positionFile, pos));
    EXPECT_FALSE(pos.IsSaved());
    EXPECT_FALSE(SaveWindowPos(paths_.positionFile, {1, 2}));
    IniFile direct(paths_.settingsFile);  // a save without a load refuses too
    EXPECT_FALSE(direct.Save());
    EXPECT_EQ(std::filesystem::symlink_status(paths_.settingsFile).type(), type);
    std::filesystem::remove(paths_.settingsFile);
    std::filesystem::remove(paths_.positionFile);
  }
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
