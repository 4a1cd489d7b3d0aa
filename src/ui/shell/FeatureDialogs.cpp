#include "ui/shell/FeatureDialogs.h"

#include "ui/collect/CollectionCommands.h"
#include "ui/settings/MemoDlg.h"
#include "ui/settings/TimeDlg.h"
#include "ui/shell/MainForm.h"

namespace tessaro {

void InstallFeatureDialogs(TMainForm& form) {
  // Collection, monitor, clock, memo, measurement mode, interval,
  // coefficients, terminal, conversion and firmware join here.
  InstallCollectionCommands(form);
  form.SetFeatureDialog(FeatureCommand::Clock, MakeDialog<TTimeDLG>, {.lineCheck = true});
  // The memo dialog checks the line in its own read step.
  form.SetFeatureDialog(FeatureCommand::Memo, MakeDialog<TMemoDLG>);
}

}  // namespace tessaro
