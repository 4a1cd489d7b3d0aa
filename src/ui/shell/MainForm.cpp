#include "ui/shell/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <optional>
#include <variant>

#include "core/line/CommError.h"
#include "core/line/LineBusyError.h"
#include "core/line/LineFacade.h"
#include "core/line/SerialPortDiagnosis.h"
#include "core/support/BackgroundOperation.h"
#include "core/support/MessageBox.h"
#include "core/support/Pump.h"
#include "ui/controls/IconBtn.h"
#include "ui/controls/Lamp.h"
#include "ui/controls/PathDlg.h"
#include "ui/line/ComEnvDlg.h"
#include "ui/print/PrinterSettings.h"
#include "ui/settings/SlaveDlg.h"
#include "ui/shell/AboutDlg.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/FileFilter.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/ModalGauge.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"
#include "ui/shell/UiThread.h"

namespace tessaro {
namespace {

constexpr int kStatusBarHeight = 20;
constexpr int kLampY = 325;     // convert command shown
constexpr int kLampShift = 45;  // lamps move up by a button row without it

struct CommandText {
  int caption;
  int menu;
  int hint;
  std::variant<QStyle::StandardPixmap, DrawnIcon> icon;
  std::optional<FeatureCommand> feature;
};

QIcon CommandIcon(const CommandText& c) {
  if (const auto* drawn = std::get_if<DrawnIcon>(&c.icon)) return MakeDrawnIcon(*drawn);
  return StandardIcon(std::get<QStyle::StandardPixmap>(c.icon));
}

// Buttons 1..13 in their order on the window.
const CommandText kCommands[13] = {
    {MsgBtnLink, MsgMenuLink, MsgHintLink, DrawnIcon::SerialLine, std::nullopt},
    {MsgBtnPath, MsgMenuPath, MsgHintPath, DrawnIcon::Folder, std::nullopt},
    {MsgBtnTrans, MsgMenuTrans, MsgHintTrans, QStyle::SP_ArrowDown, FeatureCommand::Trans},
    {MsgBtnInput, MsgMenuInput, MsgHintInput, DrawnIcon::Monitor, FeatureCommand::Input},
    {MsgBtnClock, MsgMenuClock, MsgHintClock, QStyle::SP_BrowserReload, FeatureCommand::Clock},
    {MsgBtnMemo, MsgMenuMemo, MsgHintMemo, QStyle::SP_FileDialogContentsView, FeatureCommand::Memo},
    {MsgBtnMode, MsgMenuMode, MsgHintMode, QStyle::SP_FileDialogListView, FeatureCommand::Mode},
    {MsgBtnItvl, MsgMenuItvl, MsgHintItvl, QStyle::SP_MediaSeekForward, FeatureCommand::Itvl},
    {MsgBtnCoef, MsgMenuCoef, MsgHintCoef, QStyle::SP_FileDialogDetailedView, FeatureCommand::Coef},
    {MsgBtnTerm, MsgMenuTerm, MsgHintTerm, DrawnIcon::Terminal, FeatureCommand::Term},
    {MsgBtnMot, MsgMenuMot, MsgHintMot, QStyle::SP_ArrowUp, std::nullopt},
    {MsgBtnExit, MsgMenuExit, MsgHintExit, QStyle::SP_DialogCloseButton, std::nullopt},
    {MsgBtnConvert, MsgMenuConvert, MsgHintConvert, QStyle::SP_FileIcon, FeatureCommand::Convert},
};
constexpr int kLinkButton = 1, kPathButton = 2, kMotButton = 11, kExitButton = 12,
              kConvertButton = 13;

QLabel* MakePanel(const QString& text, QWidget* parent) {
  auto* panel = new QLabel(text, parent);
  panel->setAlignment(Qt::AlignCenter);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  return panel;
}

void SetPanelWidth(QLabel* panel, int width) {
  panel->setFixedWidth(width);
  panel->setVisible(width > 0);
}

}  // namespace

TMainForm::TMainForm(const AppPaths& paths, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      session_(paths) {
  if (!LoadSettings(paths.settingsFile, paths.baseFolder, session_.Settings()))
    ShowError(LoadMessage(MsgComSettingsAccess));
  WindowPos pos;
  if (!LoadWindowPos(paths.positionFile, pos)) ShowError(LoadMessage(MsgWindowPosAccess));

  setWindowTitle(Msg(MsgProgramName));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());

  // A missing database is reported when a function needs it, not here.
  session_.OpenDefinitions();

  client_ = new QWidget(this);
  setCentralWidget(client_);
  BuildButtons();
  BuildMenus();
  BuildLampRow();
  BuildStatusBar();
  ConnectLineEvents();

  chooseFirmware_ = [this](QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QString(), ToQt(session_.DataFolder()),
                                        ToQtFileFilter(Msg(MsgMotFilter)));
  };
  pathDlg_ = new TPathDLG(this);
  pathDlg_->SetRootFolder(TRootFolder::rfDrives);

  ApplyConvertFlag();
  SetHighSpeedPanel();
  SetExtendedPanel();
  SetSlavePanel();
  session_.OnModeFlagsChanged([this] {
    SetHighSpeedPanel();
    SetExtendedPanel();
    SetSlavePanel();
  });
  PlaceWindow(pos);

  secTimer_ = new QTimer(this);
  secTimer_->setInterval(500);
  connect(secTimer_, &QTimer::timeout, this, &TMainForm::SecTimerTimer);
  secTimer_->start();
}

TMainForm::~TMainForm() {
  secTimer_->stop();
  session_.OnModeFlagsChanged(nullptr);
  // Socket notifications must not reach a window that is going away.
  LineContext& line = session_.Line();
  line.ScktLine.OnConnecting = nullptr;
  line.ScktLine.OnConnect = nullptr;
  line.ScktLine.OnDisconnect = nullptr;
  line.ScktLine.OnError = nullptr;
  LineClose(line);
}

QAction* TMainForm::AddFunctionsMenuItem(const QString& text, const QString& hint) {
  auto* action = new QAction(text, this);
  action->setStatusTip(hint);
  functionsMenu_->insertAction(functionsSeparator_, action);
  return action;
}

void TMainForm::Attach(TComEnvDLG* comEnv, TGaugeDLG* gauge) {
  comEnv_ = comEnv;
  gauge_ = gauge;
  session_.AttachGauge(gauge);
}

void TMainForm::BuildButtons() {
  for (int i = 0; i < 13; ++i) {
    const CommandText& c = kCommands[i];
    auto* button = new TIconBtn(client_);
    button->setGeometry(i % 2 == 0 ? 15 : 225, 10 + (i / 2) * 45, 200, 40);
    button->setText(Msg(c.caption));
    button->SetIcon(CommandIcon(c), QSize(32, 32));
    button->SetMargin(15);
    button->SetSpacing(10);
    button->setStatusTip(Msg(c.hint));
    if (i + 1 != kPathButton) button->setToolTip(Msg(c.hint));
    buttons_[static_cast<size_t>(i)] = button;
  }
}

void TMainForm::BuildMenus() {
  QMenu* pMenu = menuBar()->addMenu(Msg(MsgMenuFunctions));
  for (int i = 0; i < 13; ++i) {
    const CommandText& c = kCommands[i];
    const int number = i + 1;
    if (number == kExitButton) continue;  // after the separator
    QAction* action = pMenu->addAction(Msg(c.menu));
    action->setStatusTip(Msg(c.hint));
    TIconBtn* button = Button(number);
    if (c.feature) {
      Feature& f = FeatureOf(*c.feature);
      f.action = action;
      f.button = button;
      action->setEnabled(false);
      button->setEnabled(false);
      const FeatureCommand command = *c.feature;
      connect(action, &QAction::triggered, this, [this, command] { RunFeature(command); });
      connect(button, &QAbstractButton::clicked, this, [this, command] { RunFeature(command); });
    }
    if (number == kConvertButton) pMenuConvert_ = action;
    if (number == kMotButton) {
      // Enabled once a firmware writer is installed.
      pMenuMot_ = action;
      action->setEnabled(false);
      button->setEnabled(false);
      connect(action, &QAction::triggered, this, &TMainForm::PMenuMotClick);
      connect(button, &QAbstractButton::clicked, this, &TMainForm::PMenuMotClick);
    }
  }
  auto connectBoth = [this](int number, QAction* action, void (TMainForm::*slot)()) {
    connect(action, &QAction::triggered, this, slot);
    connect(Button(number), &QAbstractButton::clicked, this, slot);
  };
  const QList<QAction*> items = pMenu->actions();
  connectBoth(kLinkButton, items[0], &TMainForm::PMenuLinkClick);
  connectBoth(kPathButton, items[1], &TMainForm::PMenuPathClick);
  functionsMenu_ = pMenu;
  functionsSeparator_ = pMenu->addSeparator();
  QAction* exit = pMenu->addAction(Msg(MsgMenuExit));
  exit->setStatusTip(Msg(MsgHintExit));
  connectBoth(kExitButton, exit, &TMainForm::PMenuExitClick);

  QMenu* mMenu = menuBar()->addMenu(Msg(MsgMenuMultiLink));
  QAction* slave = mMenu->addAction(Msg(MsgMenuSlave));
  slave->setStatusTip(Msg(MsgHintSlave));
  connect(slave, &QAction::triggered, this, &TMainForm::MMenuSlaveClick);

  // Help contents, keyword search and home page stay hidden: there is no
  // help file on this platform.
  QMenu* hMenu = menuBar()->addMenu(Msg(MsgMenuHelp));
  for (int id : {MsgMenuHelpContents, MsgMenuKeyHelp}) hMenu->addAction(Msg(id))->setVisible(false);
  hMenu->addSeparator()->setVisible(false);
  hMenu->addAction(Msg(MsgMenuInet))->setVisible(false);
  QAction* about = hMenu->addAction(Msg(MsgMenuAbout));
  about->setStatusTip(Msg(MsgHintAbout));
  connect(about, &QAction::triggered, this, &TMainForm::HMenuAboutClick);

  actionExt_ = new QAction(this);
  actionExt_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F2));
  actionMnp_ = new QAction(this);
  actionMnp_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
  actionCvt_ = new QAction(this);
  actionCvt_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F12));
  for (QAction* action : {actionExt_, actionMnp_, actionCvt_}) {
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
  }
  connect(actionExt_, &QAction::triggered, this, &TMainForm::ActionExtExecute);
  connect(actionMnp_, &QAction::triggered, this, &TMainForm::ActionMnpExecute);
  connect(actionCvt_, &QAction::triggered, this, &TMainForm::ActionCvtExecute);
}

void TMainForm::BuildLampRow() {
  const int names[4] = {MsgLampDtr, MsgLampDsr, MsgLampRts, MsgLampCts};
  for (size_t i = 0; i < 4; ++i) {
    lamps_[i] = new TLamp(client_);
    lampLabels_[i] = new QLabel(Msg(names[i]), client_);
    lampLabels_[i]->resize(30, 12);
  }
  portLabel_ = new QLabel(client_);
  portLabel_->resize(170, 14);
}

void TMainForm::BuildStatusBar() {
  auto* bar = new QStatusBar(this);
  bar->setSizeGripEnabled(false);
  bar->setFixedHeight(kStatusBarHeight);
  panels_[0] = MakePanel(Msg(MsgPanelHighSpeed), bar);
  panels_[1] = MakePanel(Msg(MsgPanelExtended), bar);
  panels_[2] = MakePanel(QString(), bar);
  panels_[3] = new QLabel(bar);
  panels_[3]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  for (size_t i = 0; i < 3; ++i) bar->addWidget(panels_[i]);
  bar->addWidget(panels_[3], 1);
  for (QObject* watched : {static_cast<QObject*>(bar), static_cast<QObject*>(panels_[0]),
                           static_cast<QObject*>(panels_[1]), static_cast<QObject*>(panels_[2]),
                           static_cast<QObject*>(panels_[3])})
    watched->installEventFilter(this);
  setStatusBar(bar);
}

void TMainForm::ConnectLineEvents() {
  // The client reports on its own thread; the lamps change on this one.
  TSocketEx& socket = session_.Line().ScktLine;
  socket.OnConnecting = [this] {
    PostToThreadOf(this, [this] {
      lamps_[1]->SetState(LampState::Busy);
      lamps_[3]->SetState(LampState::Off);
    });
  };
  socket.OnConnect = [this] {
    PostToThreadOf(this, [this] {
      lamps_[1]->SetState(LampState::On);
      lamps_[3]->SetState(LampState::On);
    });
  };
  socket.OnDisconnect = [this] {
    PostToThreadOf(this, [this] {
      lamps_[1]->SetState(LampState::Off);
      lamps_[3]->SetState(LampState::Off);
    });
  };
  socket.OnError = [](int) {};  // transfers report failures themselves
}

int TMainForm::ClientHeight() const { return convert_ ? kClientHeightConvert : kClientHeight; }

void TMainForm::PlaceWindow(const WindowPos& pos) {
  const QSize size = this->size();
  QScreen* screen = QGuiApplication::primaryScreen();
  if (pos.IsSaved()) {
    // A position from another screen layout would hide the window; only use
    // it when the title bar lands on a screen.
    const QPoint titleBar(pos.left + size.width() / 2, pos.top + 10);
    if (QGuiApplication::screenAt(titleBar)) {
      move(pos.left, pos.top);
      return;
    }
  }
  if (screen)
    move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
}

void TMainForm::SetFeatureDialog(FeatureCommand command, DialogFactory factory,
                                 FeatureNeeds needs) {
  Feature& f = FeatureOf(command);
  f.factory = std::move(factory);
  f.needs = needs;
  const bool enabled = static_cast<bool>(f.factory);
  f.action->setEnabled(enabled);
  f.button->setEnabled(enabled);
}

bool TMainForm::FeatureEnabled(FeatureCommand command) const {
  return static_cast<bool>(features_[static_cast<size_t>(command)].factory);
}

void TMainForm::RunFeature(FeatureCommand command) {
  const Feature& f = FeatureOf(command);
  if (f.factory) RunDialogCommand(session_, this, f.factory, f.needs);
}

void TMainForm::SetLamps(LampState dtr, LampState dsr, LampState rts, LampState cts) {
  lamps_[0]->SetState(dtr);
  lamps_[1]->SetState(dsr);
  lamps_[2]->SetState(rts);
  lamps_[3]->SetState(cts);
}

bool TMainForm::OpenLineWithRetry() {
  LineContext& line = session_.Line();
  AppSettings& settings = session_.Settings();
  for (;;) {
    SetLamps(LampState::Off, LampState::Off, LampState::Off, LampState::Off);
    LineClose(line);
    PumpMessages();
    portLabel_->setText(ToQt(ApplyLineSettings(line, settings.line)));
    lamps_[0]->SetState(LampState::Busy);
    lamps_[2]->SetState(LampState::Busy);
    PumpMessages();
    std::string question = LoadMessage(MsgPortInUseRetry);
    try {
      LineOpen(line);
      lamps_[0]->SetState(LampState::On);
      lamps_[2]->SetState(LampState::On);
      return true;
    } catch (const ECommError& e) {
      lamps_[0]->SetState(LampState::Failed);
      lamps_[2]->SetState(LampState::Off);
      if (const auto* busy = dynamic_cast<const ELineBusy*>(&e))
        ShowError(
            FormatMessage(MsgLineBusyHolder, busy->Line().c_str(), busy->Holder().Text().c_str()));
      // Why the port did not open, and what the user can do about it.
      const auto* openError = dynamic_cast<const ECommOpenError*>(&e);
      question += "\n\n" + ExplainPortOpenFailure(line.CommLine.DevicePath(),
                                                  openError ? openError->SystemError() : 0);
    }
    if (AskYesNo(question) == BoxResult::Yes && comEnv_) {
      comEnv_->SetMode(1);
      comEnv_->LoadFromSettings(settings.line);
      if (comEnv_->exec() == QDialog::Accepted) {
        settings.line = comEnv_->Settings();
        continue;
      }
    }
    ShowError(LoadMessage(MsgPortUnusable));
    Terminate();
    return false;
  }
}

void TMainForm::Terminate() {
  terminating_ = true;
  secTimer_->stop();
  if (terminate_) terminate_();
}

void TMainForm::StoreSettings() {
  if (!SaveSettings(session_.Paths().settingsFile, session_.Settings()))
    ShowError(LoadMessage(MsgComSettingsAccess));
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // Open the line once the window is on the screen.
  QTimer::singleShot(0, this, &TMainForm::FormShow);
}

void TMainForm::FormShow() {
  QCoreApplication::processEvents();
  if (terminating_) return;
  RestoreCurrentPrinter(session_.Paths());  // silent: the default printer stays otherwise
  AppSettings& settings = session_.Settings();
  if (comEnv_) {
    comEnv_->SetMode(1);
    comEnv_->LoadFromSettings(settings.line);
  }
  if (!OpenLineWithRetry()) return;
  if (!settings.hasComPortKey && comEnv_) {
    comEnv_->StoreToSettings();
    settings.line = comEnv_->Settings();
    settings.hasComPortKey = true;
    StoreSettings();
  }
  SetHighSpeedPanel();
  SetExtendedPanel();
  SetSlavePanel();
  ApplyConvertFlag();
  Button(1)->setFocus();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // A running function may have a worker on the line: closing now would
  // pull the line from under it.
  if (Busy()) {
    event->ignore();
    return;
  }
  SetLamps(LampState::Off, lamps_[1]->State(), LampState::Off, lamps_[3]->State());
  LineClose(session_.Line());
  const WindowPos pos{x(), y()};
  if (!SaveWindowPos(session_.Paths().positionFile, pos))
    ShowError(LoadMessage(MsgWindowPosAccess));
  QMainWindow::closeEvent(event);
}

void TMainForm::PMenuLinkClick() {
  if (!comEnv_) return;
  IdleScope busy(session_.IdleFlag());
  AppSettings& settings = session_.Settings();
  portLabel_->setText(ToQt(ApplyLineSettings(session_.Line(), settings.line)));
  comEnv_->SetMode(1);
  comEnv_->LoadFromSettings(settings.line);
  if (comEnv_->exec() != QDialog::Accepted) return;
  settings.line = comEnv_->Settings();
  if (!OpenLineWithRetry()) return;
  settings.line = comEnv_->Settings();
  StoreSettings();
}

void TMainForm::PMenuPathClick() {
  IdleScope busy(session_.IdleFlag());
  pathDlg_->SetFolder(ToQt(session_.DataFolder()));
  if (!pathDlg_->Execute()) return;
  session_.Settings().dataFolder = FromQt(pathDlg_->Folder());
  StoreSettings();
}

void TMainForm::PMenuExitClick() { close(); }

void TMainForm::QuitWhenIdle() {
  constexpr int kRetryMs = 200;
  if (gauge_ && gauge_->isVisible()) {
    // Asked again on every retry: showing the gauge clears its flag.
    gauge_->CancelBtnClick();
  } else if (session_.Idle()) {
    PMenuExitClick();
    return;
  } else if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
    dialog->reject();
  }
  QTimer::singleShot(kRetryMs, this, &TMainForm::QuitWhenIdle);
}

void TMainForm::MMenuSlaveClick() {
  RunDialogCommand(
      session_, this,
      [](AppSession& session, QWidget* parent) {
        auto dialog = std::make_unique<TSlaveDLG>(parent);
        dialog->Load(session.Slaved(), session.SlaveId());
        return dialog;
      },
      {},
      [this](TCommandDialog& dialog) {
        auto& slave = static_cast<TSlaveDLG&>(dialog);
        session_.SetSlave(slave.Slaved(), slave.SlaveId());
      });
  SetSlavePanel();
  LineContext& line = session_.Line();
  LineSetSlave(line, session_.Slaved(), session_.SlaveId());
  if (session_.Slaved()) {
    LineFlowNone(line);
  } else {
    LineFlowRtsCts(line);
  }
}

void TMainForm::HMenuAboutClick() {
  RunDialogCommand(session_, this, [](AppSession&, QWidget* parent) {
    return std::make_unique<TAboutDLG>(parent);
  });
}

void TMainForm::SetFirmwareWriter(FirmwareWriter writer) {
  firmwareWriter_ = std::move(writer);
  const bool enabled = static_cast<bool>(firmwareWriter_);
  Button(kMotButton)->setEnabled(enabled);
  pMenuMot_->setEnabled(enabled);
}

void TMainForm::PMenuMotClick() {
  if (!firmwareWriter_ || !gauge_) return;
  IdleScope busy(session_.IdleFlag());
  setEnabled(false);
  const QString file = chooseFirmware_(this);
  if (!file.isEmpty()) {
    gauge_->SetCaption(LoadMessage(MsgMotCaption));
    gauge_->SetMessage(LoadMessage(MsgMotTransferring));
    gauge_->show();
    QCoreApplication::processEvents();
    // The writer reports through the progress dialog with blocking calls
    // into this thread, so this thread waits in an event loop.
    int result = 0;
    try {
      BackgroundOperation<int> write(
          [this, path = FromQt(file)] { return firmwareWriter_(path, *gauge_); });
      WaitInEventLoop(write.Busy());
      result = write.Result();
    } catch (const std::exception&) {
      result = 0;  // no thread, or a writer that threw: the write failed
    }
    gauge_->hide();
    QApplication::beep();
    if (result == 1) {
      ShowWarning(LoadMessage(MsgMotDone));
    } else {
      ShowError(LoadMessage(MsgMotFailed));
    }
  }
  setEnabled(true);
}

void TMainForm::ActionExtExecute() { session_.SetExtendedMode(!session_.ExtendedMode()); }

void TMainForm::ActionMnpExecute() { session_.SetHighSpeedMode(!session_.HighSpeedMode()); }

void TMainForm::ActionCvtExecute() {
  convert_ = !convert_;
  ApplyConvertFlag();
}

void TMainForm::SetHighSpeedPanel() {
  SetPanelWidth(panels_[0], session_.HighSpeedMode() ? 50 : 0);
}

void TMainForm::SetExtendedPanel() { SetPanelWidth(panels_[1], session_.ExtendedMode() ? 50 : 0); }

void TMainForm::SetSlavePanel() {
  panels_[2]->setText(ToQt(FormatMessage(MsgSlavePanel, session_.SlaveId())));
  SetPanelWidth(panels_[2], session_.Slaved() ? 70 : 0);
}

void TMainForm::ApplyConvertFlag() {
  Button(kConvertButton)->setVisible(convert_);
  pMenuConvert_->setVisible(convert_);
  const int lampY = convert_ ? kLampY : kLampY - kLampShift;
  for (size_t i = 0; i < 4; ++i) {
    const int x = 15 + static_cast<int>(i) * 55;
    lamps_[i]->move(x, lampY);
    lampLabels_[i]->move(x + 24, lampY + 5);
  }
  portLabel_->move(245, lampY + 4);
  const int clientHeight = ClientHeight();
  client_->setFixedSize(kClientWidth, clientHeight - kStatusBarHeight);
  setFixedSize(kClientWidth, menuBar()->sizeHint().height() + clientHeight);
}

void TMainForm::SecTimerTimer() {
  secTimer_->stop();
  LineContext& line = session_.Line();
  if (line.LineMode == kLineModeSerial) {
    const bool enabled = line.CommLine.Enabled();
    lamps_[1]->SetState(enabled && line.CommLine.DSRState() ? LampState::On : LampState::Off);
    lamps_[3]->SetState(enabled && line.CommLine.CTSState() ? LampState::On : LampState::Off);
  }
  // No event processing here: a click handled inside this handler would run
  // its whole function with the lamp timer stopped.
  if (!terminating_) secTimer_->start();
}

bool TMainForm::event(QEvent* event) {
  // Hints go to the last status panel; the bar never shows messages itself.
  if (event->type() == QEvent::StatusTip) {
    if (panels_[3]) panels_[3]->setText(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->modifiers() & Qt::AltModifier) {
      if (mouse->button() == Qt::RightButton) {
        ActionMnpExecute();
        return true;
      }
      if (mouse->button() == Qt::LeftButton) {
        ActionExtExecute();
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace tessaro
