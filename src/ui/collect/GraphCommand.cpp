#include "ui/collect/GraphCommand.h"

#include <QAction>

#include "ui/graph/GraphWindow.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/MainForm.h"
#include "ui/shell/QtText.h"

namespace tessaro {

std::function<void(const std::string&, QWidget*)> GraphOpener(AppSession& session) {
  return [&session](const std::string& rlbPath, QWidget* parent) {
    if (!session.RequireDefinitions()) return;
    TGraphWindow::Open(ToQt(rlbPath), session.Definitions(), session.WorkFolder(), parent);
  };
}

void InstallGraphCommand(TMainForm& form, FileDialogs files) {
  QAction* action = form.AddFunctionsMenuItem(Msg(MsgGraphMenu), Msg(MsgGraphHint));
  QObject::connect(action, &QAction::triggered, &form, [&form, files] {
    if (form.Busy()) return;
    const QString rlbPath = files.askOpenFileName(
        &form, {Msg(MsgRlbFilter), QStringLiteral("RLB"), ToQt(form.Session().DataFolder())});
    if (!rlbPath.isEmpty()) GraphOpener(form.Session())(FromQt(rlbPath), &form);
  });
}

}  // namespace tessaro
