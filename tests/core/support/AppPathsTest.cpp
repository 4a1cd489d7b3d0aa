#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "core/support/AppPaths.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

TEST(AppPathsTest, FreshHomeUsesDocumentsFolder) {
  TempDir home;
  const AppPaths p = MakeAppPaths(home.Path(), "/opt/tessaro/bin");
  const std::string base = home.Path() + "/Documents/Tessaro/";
  EXPECT_EQ(p.programFolder, "/opt/tessaro/bin/");
  EXPECT_EQ(p.baseFolder, base);
  EXPECT_EQ(p.settingsFolder, base + "INI/");
  EXPECT_EQ(p.settingsFile, base + "INI/TESSARO.INI");
  EXPECT_EQ(p.positionFile, base + "INI/TESSARO.POS");
  EXPECT_EQ(p.printSettingsFile, base + "INI/TESSARO.PLV");
  EXPECT_EQ(p.commandHistoryFile, base + "INI/TESSARO.CMD");
  EXPECT_EQ(p.helpFile, "/opt/tessaro/bin/HELP/TESSARO.HLP");
  EXPECT_FALSE(std::filesystem::exists(p.baseFolder));  // nothing is created yet

  ASSERT_TRUE(CreateSettingsFolder(p));
  EXPECT_TRUE(std::filesystem::is_directory(p.settingsFolder));
  ASSERT_TRUE(CreateSettingsFolder(p));  // existing folder is fine
}

TEST(AppPathsTest, FollowsXdgDocumentsFolder) {
  TempDir home;
  home.WriteFile(".config/user-dirs.dirs",
                 "# written by xdg-user-dirs-update\n"
                 "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                 "XDG_DOCUMENTS_DIR=\"$HOME/ドキュメント\"\n");
  EXPECT_EQ(MakeAppPaths(home.Path(), "/x").baseFolder, home.Path() + "/ドキュメント/Tessaro/");

  home.WriteFile(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n");
  EXPECT_EQ(MakeAppPaths(home.Path(), "/x").baseFolder, "/srv/docs/Tessaro/");

  // Forms the file does not allow fall back to ~/Documents.
  home.WriteFile(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"docs\"\n");
  EXPECT_EQ(MakeAppPaths(home.Path(), "/x").baseFolder, home.Path() + "/Documents/Tessaro/");

  TempDir config;
  config.WriteFile("user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
  EXPECT_EQ(MakeAppPaths(home.Path(), "/x", config.Path()).baseFolder,
            home.Path() + "/Papers/Tessaro/");

  // A FIFO in its place is not waited on.
  std::filesystem::remove(config.Join("user-dirs.dirs"));
  ASSERT_EQ(::mkfifo(config.Join("user-dirs.dirs").c_str(), 0600), 0);
  EXPECT_EQ(MakeAppPaths(home.Path(), "/x", config.Path()).baseFolder,
            home.Path() + "/Documents/Tessaro/");
}

TEST(AppPathsTest, ProgramFolderAndWritableFallback) {
  const std::string exe = ExecutableFolder();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(exe + "core_support_tests"));

  TempDir home;
  AppPaths p = MakeAppPaths(home.Path(), home.Path() + "/prog");
  EXPECT_EQ(WritableProgramFolder(p), p.baseFolder);  // folder does not exist
  std::filesystem::create_directory(home.Path() + "/prog");
  EXPECT_EQ(WritableProgramFolder(p), p.programFolder);
}

TEST(AppPathsTest, InstalledCopyReadsShareAndWritesOnlyForTheUser) {
  TempDir root;
  root.WriteFile("usr/share/tessaro/DB/Master.mdb", "");
  std::filesystem::create_directories(root.Join("usr/bin"));
  const AppPaths installed = MakeAppPaths(root.Join("home"), root.Join("usr/bin"));
  EXPECT_EQ(installed.sharedFolder, root.Join("usr/share/tessaro/"));
  EXPECT_EQ(DefinitionsPath(root.Join("usr/bin")), root.Join("usr/share/tessaro/DB/Master.mdb"));
  // bin/ is writable here, yet an installed copy keeps LOG and work files out of it.
  EXPECT_EQ(WritableProgramFolder(installed), installed.baseFolder);

  // A database beside the program wins: the build tree and portable copies.
  root.WriteFile("usr/bin/DB/Master.mdb", "");
  const AppPaths beside = MakeAppPaths(root.Join("home"), root.Join("usr/bin"));
  EXPECT_EQ(beside.sharedFolder, beside.programFolder);
  EXPECT_EQ(WritableProgramFolder(beside), beside.programFolder);
}

TEST(AppPathsTest, FreshUserGetsEveryFolderItWritesTo) {
  TempDir root;
  // A program folder nobody may write to (a path through a file: even root
  // cannot), and a home folder that does not exist yet.
  const std::string notAFolder = root.WriteFile("file", "");
  const AppPaths p = MakeAppPaths(root.Join("home"), notAFolder + "/bin");
  ASSERT_EQ(WritableProgramFolder(p), p.baseFolder);
  EXPECT_EQ(CreateUserFolders(p), std::nullopt);
  for (const std::string& folder : {p.baseFolder, p.settingsFolder, p.baseFolder + "LOG/"})
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
  EXPECT_FALSE(std::filesystem::exists(notAFolder + "/bin"));
  EXPECT_EQ(CreateUserFolders(p), std::nullopt);  // existing folders are fine

  // A home below a file cannot get its folders: the first one is named.
  const AppPaths blocked = MakeAppPaths(notAFolder + "/home", notAFolder + "/bin");
  const auto failure = CreateUserFolders(blocked);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->folder, blocked.baseFolder);
  EXPECT_EQ(failure->error, ENOTDIR);
}

}  // namespace
}  // namespace tessaro
