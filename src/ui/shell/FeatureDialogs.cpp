#include "ui/shell/FeatureDialogs.h"

#include "ui/collect/CollectionCommands.h"
#include "ui/shell/MainForm.h"

namespace tessaro {

void InstallFeatureDialogs(TMainForm& form) {
  // Collection, monitor, clock, memo, measurement mode, interval,
  // coefficients, terminal, conversion and firmware join here.
  InstallCollectionCommands(form);
}

}  // namespace tessaro
