#include "ui/shell/FeatureDialogs.h"

#include "core/firmware/MotWrite.h"
#include "ui/coef/CoefDlg.h"
#include "ui/collect/CollectionCommands.h"
#include "ui/collect/GraphCommand.h"
#include "ui/print/PrintCoefficients.h"
#include "ui/settings/ItvlDlg.h"
#include "ui/settings/MemoDlg.h"
#include "ui/settings/SampDlg.h"
#include "ui/settings/TimeDlg.h"
#include "ui/shell/MainForm.h"
#include "ui/terminal/InputDlg.h"
#include "ui/terminal/TermDlg.h"

namespace tessaro {

void InstallFeatureDialogs(TMainForm& form) {
  // Collection, monitor, clock, memo, measurement mode, interval,
  // coefficients, terminal, conversion and firmware join here.
  InstallCollectionCommands(form);
  InstallGraphCommand(form);
  form.SetFeatureDialog(FeatureCommand::Clock, MakeDialog<TTimeDLG>, {.lineCheck = true});
  // Memo, mode and interval check the line in their own read steps.
  form.SetFeatureDialog(FeatureCommand::Memo, MakeDialog<TMemoDLG>);
  form.SetFeatureDialog(FeatureCommand::Mode, MakeDialog<TSampDLG>, {.definitions = true});
  form.SetFeatureDialog(FeatureCommand::Itvl, MakeDialog<TItvlDLG>, {.definitions = true});
  form.SetFeatureDialog(FeatureCommand::Input, MakeDialog<TInputDLG>, {.lineCheck = true});
  form.SetFeatureDialog(FeatureCommand::Term, MakeDialog<TTermDLG>);
  form.SetFirmwareWriter([&form](const std::string& file, ProgressReporter& progress) {
    return RunMotWrite(form.Session().Line(), file, progress);
  });
  form.SetFeatureDialog(FeatureCommand::Coef, [](AppSession& session, QWidget* parent) {
    auto view = std::make_unique<TCoefDLG>(session, parent);
    view->SetPrintHandler([&session](const CoefficientTables& tables, QWidget* viewWidget) {
      PrintCoefficients(session, viewWidget, tables);
    });
    return std::unique_ptr<TCommandDialog>(std::move(view));
  });
}

}  // namespace tessaro
