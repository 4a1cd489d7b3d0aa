// Program entry: one copy per user, the three long-lived windows, the
// message loop.

#include <QApplication>
#include <cstdio>
#include <string_view>

#include "core/collect/TemporaryNames.h"
#include "core/support/AppPaths.h"
#include "core/support/IdleFlagServer.h"
#include "core/support/MessageBox.h"
#include "core/support/Messages.h"
#include "core/support/SingleInstance.h"
#include "ui/line/ComEnvDlg.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/ExchangeGuard.h"
#include "ui/shell/FeatureDialogs.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/GuiMessageBox.h"
#include "ui/shell/MainForm.h"
#include "ui/shell/QtTranslations.h"
#include "ui/shell/TerminationSignals.h"
#include "ui/shell/UiFonts.h"

using namespace tessaro;

int main(int argc, char** argv) {
  // Answered before anything starts, also while another copy runs.
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--version") {
      std::printf("tessaro %s\n", TESSARO_VERSION);
      return 0;
    }
  }
  const std::string mutexName = LoadMessage(MsgMutexName);
  SingleInstance instance(mutexName);
  if (!instance.Acquire()) return 0;  // a second start ends silently

  QApplication app(argc, argv);
  QApplication::setFont(ProportionalFont());
  QApplication::setWindowIcon(AppIcon());
  TExchangeGuard exchangeGuard;
  const std::unique_ptr<QTranslator> qtTexts = LoadQtTranslations(QLocale());
  if (qtTexts) QApplication::installTranslator(qtTexts.get());
  TGuiMessageBox boxes;
  InstallMessageBoxHandler(&boxes);

  const AppPaths paths = CurrentAppPaths();
  // A folder that cannot be made shows when it is first used.
  CreateUserFolders(paths);
  RemoveStaleTemporariesAtStart(paths);

  int result = 0;
  {
    TMainForm mainForm(paths);
    auto* comEnv = new TComEnvDLG(&mainForm);
    auto* gauge = new TGaugeDLG(&mainForm);
    mainForm.Attach(comEnv, gauge);
    InstallFeatureDialogs(mainForm);
    IdleFlagServer idleServer(mainForm.IdleFlag(), mutexName, RuntimeFolder());
    idleServer.Start();
    TerminationSignals termination([&mainForm] { mainForm.QuitWhenIdle(); });
    if (!mainForm.Terminating()) {
      mainForm.show();
      result = app.exec();
    }
  }
  InstallMessageBoxHandler(nullptr);
  return result;
}
