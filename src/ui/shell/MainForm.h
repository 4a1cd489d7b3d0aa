#pragma once
// The program's only permanent window: one launcher button per function, a
// menu bar with the same commands, the line lamps with the port label and a
// status bar with the mode flags and hints. It owns the line and the state
// the session the functions use (line, definitions, mode flags, idle flag),
// opens the line when first shown and runs one function dialog at a time:
// while a function runs it is Busy and takes no input and no close request.

#include <QCoreApplication>
#include <QMainWindow>
#include <array>
#include <atomic>
#include <functional>
#include <memory>

#include "core/support/AppPaths.h"
#include "core/support/ProgressReporter.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/BusyWindow.h"
#include "ui/shell/CommandDialog.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace tessaro {

class TComEnvDLG;
class TGaugeDLG;
class TIconBtn;
class TLamp;
class TPathDLG;
enum class LampState;

// The functions whose dialogs plug into the shared command pattern.
enum class FeatureCommand { Trans, Input, Clock, Memo, Mode, Itvl, Coef, Term, Convert, Count };

class TMainForm : public QMainWindow, public BusyWindow {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 440;
  static constexpr int kClientHeightConvert = 370;
  static constexpr int kClientHeight = 325;

  // Reads the settings and window position, opens the definition database
  // and starts the lamp timer. paths.settingsFolder must exist.
  explicit TMainForm(const AppPaths& paths, QWidget* parent = nullptr);
  ~TMainForm() override;

  // The two long-lived dialogs created after the main window.
  void Attach(TComEnvDLG* comEnv, TGaugeDLG* gauge);

  // Makes a function available: its button and menu item are enabled and
  // run the dialog through the shared command pattern, after the checks the
  // function needs.
  void SetFeatureDialog(FeatureCommand command, DialogFactory factory, FeatureNeeds needs = {});
  bool FeatureEnabled(FeatureCommand command) const;

  // Writes a firmware file on a worker thread, reporting through the
  // progress dialog; 1 means success. Installing one enables the command.
  using FirmwareWriter = std::function<int(const std::string& file, ProgressReporter& progress)>;
  void SetFirmwareWriter(FirmwareWriter writer);
  // Asks for the firmware file (empty: cancelled). Tests replace it.
  using FileChooser = std::function<QString(QWidget* parent)>;
  void SetFirmwareFileChooser(FileChooser chooser) { chooseFirmware_ = std::move(chooser); }

  // Adds an item to the functions menu, above its separator.
  QAction* AddFunctionsMenuItem(const QString& text, const QString& hint);

  // What the functions use.
  AppSession& Session() { return session_; }
  TGaugeDLG* Gauge() const { return gauge_; }
  // Answered to other programs that ask whether a function runs.
  std::atomic<int>& IdleFlag() { return session_.IdleFlag(); }
  bool Busy() const override { return !session_.Idle(); }
  bool ConvertMode() const { return convert_; }
  bool Terminating() const { return terminating_; }
  // What ending the program does (the message loop is left by default).
  void SetTerminateHandler(std::function<void()> handler) { terminate_ = std::move(handler); }

  // Views for tests and screenshots.
  TIconBtn* Button(int number) const { return buttons_.at(static_cast<size_t>(number - 1)); }
  TLamp* Lamp(int index) const { return lamps_.at(static_cast<size_t>(index)); }
  QLabel* PortLabel() const { return portLabel_; }
  QLabel* Panel(int index) const { return panels_.at(static_cast<size_t>(index)); }
  QAction* ConvertMenuItem() const { return pMenuConvert_; }
  QWidget* Client() const { return client_; }
  QAction* ActionExt() const { return actionExt_; }
  QAction* ActionMnp() const { return actionMnp_; }
  QAction* ActionCvt() const { return actionCvt_; }
  TPathDLG* PathDialog() const { return pathDlg_; }

  // The window's client height (below the menu bar).
  int ClientHeight() const;

 public slots:
  void FormShow();
  void PMenuLinkClick();
  void PMenuPathClick();
  void PMenuExitClick();
  void MMenuSlaveClick();
  void HMenuAboutClick();
  void PMenuMotClick();
  void RunFeature(FeatureCommand command);
  void ActionExtExecute();
  void ActionMnpExecute();
  void ActionCvtExecute();
  void SecTimerTimer();
  // Ends the program as the exit command does, once no function runs: a
  // collection or conversion behind the progress dialog is cancelled and
  // cleans up first, a dialog waiting for the user is dismissed.
  void QuitWhenIdle();

  // Status panel updaters.
  void SetHighSpeedPanel();
  void SetExtendedPanel();
  void SetSlavePanel();
  void ApplyConvertFlag();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Feature {
    QAction* action = nullptr;
    TIconBtn* button = nullptr;
    DialogFactory factory;
    FeatureNeeds needs;
  };

  void BuildButtons();
  void BuildMenus();
  void BuildLampRow();
  void BuildStatusBar();
  void ConnectLineEvents();
  void PlaceWindow(const WindowPos& pos);
  // Close, configure and open the line; on a port that cannot be opened ask
  // for another one. False when the user gave up and the program ends.
  bool OpenLineWithRetry();
  void SetLamps(LampState dtr, LampState dsr, LampState rts, LampState cts);
  void StoreSettings();
  void Terminate();
  Feature& FeatureOf(FeatureCommand command) { return features_[static_cast<size_t>(command)]; }

  AppSession session_;
  bool convert_ = false;
  bool shown_ = false;
  bool terminating_ = false;

  TComEnvDLG* comEnv_ = nullptr;
  TGaugeDLG* gauge_ = nullptr;
  TPathDLG* pathDlg_ = nullptr;
  QWidget* client_ = nullptr;
  std::array<TIconBtn*, 13> buttons_{};
  std::array<TLamp*, 4> lamps_{};
  std::array<QLabel*, 4> lampLabels_{};
  QLabel* portLabel_ = nullptr;
  std::array<QLabel*, 4> panels_{};
  std::array<Feature, static_cast<size_t>(FeatureCommand::Count)> features_{};
  QAction* pMenuConvert_ = nullptr;
  QMenu* functionsMenu_ = nullptr;
  QAction* functionsSeparator_ = nullptr;
  QAction* pMenuMot_ = nullptr;
  QAction* actionExt_ = nullptr;
  QAction* actionMnp_ = nullptr;
  QAction* actionCvt_ = nullptr;
  QTimer* secTimer_ = nullptr;
  FirmwareWriter firmwareWriter_;
  FileChooser chooseFirmware_;
  std::function<void()> terminate_ = [] { QCoreApplication::exit(0); };
};

}  // namespace tessaro
