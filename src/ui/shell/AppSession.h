#pragma once
// What a function dialog may use of the running program: the line, the
// definition database, the progress dialog, the files and folders, the mode
// flags and the idle flag. The main window owns the one session and hands it
// to every function it starts; a dialog may keep the reference for its
// lifetime. Nothing here shows a window except the two checks' messages.

#include <atomic>
#include <functional>
#include <string>

#include "core/line/LineContext.h"
#include "core/support/AppPaths.h"
#include "core/support/AppSettings.h"
#include "core/support/DefinitionDb.h"

namespace tessaro {

class TGaugeDLG;

class AppSession {
 public:
  explicit AppSession(AppPaths paths) : paths_(std::move(paths)) {}
  AppSession(const AppSession&) = delete;
  AppSession& operator=(const AppSession&) = delete;

  LineContext& Line() { return line_; }
  // LinePurge, then LineCheck; false, after telling the user, when no
  // recorder answers.
  bool CheckLine();

  DefinitionDb& Definitions() { return definitions_; }
  // Opens DB/Master.mdb in the shared folder; false when it is missing.
  bool OpenDefinitions();
  // False, after telling the user, when the definition database is not open.
  bool RequireDefinitions() const;

  // The progress dialog every long operation reports through; throws
  // std::runtime_error before one is attached.
  TGaugeDLG& Gauge() const;
  void AttachGauge(TGaugeDLG* gauge) { gauge_ = gauge; }

  // The settings, position, print settings and command history files.
  const AppPaths& Paths() const { return paths_; }
  // The line settings and data folder, as last loaded or changed.
  AppSettings& Settings() { return settings_; }
  const AppSettings& Settings() const { return settings_; }
  // Where the proposed data file names go (ends with '/').
  const std::string& DataFolder() const { return settings_.dataFolder; }
  // The folder for LOG/ and work files (ends with '/').
  std::string WorkFolder() const { return WritableProgramFolder(paths_); }

  // 1 between functions, 0 while one runs (see IdleScope).
  std::atomic<int>& IdleFlag() { return idle_; }
  bool Idle() const { return idle_.load() != 0; }

  // The hidden mode flags and the multi-link addressing. Every change is
  // announced to the listener (the main window shows them in its status
  // bar); the line's own addressing is the main window's business.
  bool HighSpeedMode() const { return highSpeed_; }
  bool ExtendedMode() const { return extended_; }
  bool Slaved() const { return slaved_; }
  int SlaveId() const { return slaveId_; }
  void SetHighSpeedMode(bool on);
  void SetExtendedMode(bool on);
  void SetSlave(bool slaved, int slaveId);
  void OnModeFlagsChanged(std::function<void()> listener) { flagsChanged_ = std::move(listener); }

 private:
  void FlagsChanged() const {
    if (flagsChanged_) flagsChanged_();
  }

  AppPaths paths_;
  AppSettings settings_;
  LineContext line_;
  DefinitionDb definitions_;
  TGaugeDLG* gauge_ = nullptr;
  std::atomic<int> idle_{1};
  bool highSpeed_ = false;
  bool extended_ = false;
  bool slaved_ = false;
  int slaveId_ = 1;
  std::function<void()> flagsChanged_;
};

}  // namespace tessaro
