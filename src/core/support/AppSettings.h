#pragma once
// The settings file's line settings and data folder, and the main window's
// position file.
//
// Reading never fails half-way: a value that is missing or not a number
// takes its default, and a file that cannot be read leaves every value at its
// default; the bool result tells the caller to report the failure.

#include <string>

#include "core/line/LineSettings.h"

namespace tessaro {

struct AppSettings {
  LineSettings line;
  std::string dataFolder;      // ends with '/'
  bool hasComPortKey = false;  // the file holds a non-empty [ComPort] Port (not a first start)
};

// [Path] Data (blanks trimmed; empty or no longer existing: the base
// folder), [ComPort] Port, Baud, Data, Stop, Parity, Over, [TcpPort] IpAddr,
// IpPort. An empty Port value counts as missing.
bool LoadSettings(const std::string& settingsFile, const std::string& baseFolder, AppSettings& out);

// Writes all nine keys, keeping every other line of the file.
bool SaveSettings(const std::string& settingsFile, const AppSettings& settings);

struct WindowPos {
  static constexpr int kNeverSaved = -999;
  int left = kNeverSaved;
  int top = kNeverSaved;
  // Only Left decides whether a saved position is used.
  bool IsSaved() const { return left != kNeverSaved; }
};

// [TESSARO] Left and Top, default -999.
bool LoadWindowPos(const std::string& positionFile, WindowPos& out);
bool SaveWindowPos(const std::string& positionFile, const WindowPos& pos);

}  // namespace tessaro
