#include "ui/FeatureDialogs.h"

#include "ui/CollectionCommands.h"
#include "ui/MainForm.h"
#include "ui/settings/ItvlDlg.h"
#include "ui/settings/SampDlg.h"

namespace tessaro {

void InstallFeatureDialogs(TMainForm& form) {
  // Collection, monitor, clock, memo, measurement mode, interval,
  // coefficients, terminal, conversion and firmware join here.
  InstallCollectionCommands(form);
  // Both check the line inside their own read.
  form.SetFeatureDialog(FeatureCommand::Mode, MakeDialog<TSampDLG>, {.definitions = true});
  form.SetFeatureDialog(FeatureCommand::Itvl, MakeDialog<TItvlDLG>, {.definitions = true});
}

}  // namespace tessaro
