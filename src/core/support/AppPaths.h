#pragma once
// Where the program keeps its files. Folders end with '/'.
//   program folder   the executable's folder
//   shared folder    where DB/Master.mdb is: the program folder (build tree,
//                    portable copy) or ../share/tessaro/ of an installed copy
//   base folder      the user's documents folder + "Tessaro/"
//   settings folder  base folder + "INI/"
// The settings, position, print settings and command history files live in
// the settings folder; the help file in the program folder.

#include <optional>
#include <string>

namespace tessaro {

struct AppPaths {
  std::string programFolder;
  std::string sharedFolder;
  std::string baseFolder;
  std::string settingsFolder;
  std::string settingsFile;        // TESSARO.INI
  std::string positionFile;        // TESSARO.POS
  std::string printSettingsFile;   // TESSARO.PLV
  std::string commandHistoryFile;  // TESSARO.CMD
  std::string helpFile;
};

// The paths for a given home folder and program folder; reads the user's
// folder configuration (configHome/user-dirs.dirs, configHome defaulting to
// home/.config) but creates nothing.
AppPaths MakeAppPaths(const std::string& home, const std::string& programFolder,
                      const std::string& configHome = {});

// The paths of the running program for the current user ($HOME).
AppPaths CurrentAppPaths();

// Creates folder with all missing parents: 0 when it is a folder
// afterwards, else the reason (an errno value).
int CreateFolder(const std::string& folder);

// Creates the settings folder with all missing parents; false when it
// cannot be made.
bool CreateSettingsFolder(const AppPaths& paths);

struct FolderFailure {
  std::string folder;
  int error = 0;  // errno value
};

// Creates every folder a run writes to: the base folder (also the default
// data folder), the settings folder, and the LOG folder in the folder for
// LOG/ and work files (WritableProgramFolder). The first that cannot be
// made is returned.
std::optional<FolderFailure> CreateUserFolders(const AppPaths& paths);

// The folder of the running executable, ending with '/'.
std::string ExecutableFolder();

// The user's documents folder without a trailing '/': XDG_DOCUMENTS_DIR of
// configHome/user-dirs.dirs, else home/Documents.
std::string DocumentsFolder(const std::string& home, const std::string& configHome);

// The folder holding relativePath: the program folder when it has it, else
// the installed ../share/tessaro/ when that has it, else the program folder.
std::string FindSharedFolder(const std::string& programFolder, const std::string& relativePath);

// The definitions database of an installation: DB/Master.mdb in the shared
// folder of programFolder.
std::string DefinitionsPath(const std::string& programFolder);

// The folder for LOG/ and work files: the program folder when it is
// writable and not an installed bin/ folder, else the base folder.
std::string WritableProgramFolder(const AppPaths& paths);

}  // namespace tessaro
