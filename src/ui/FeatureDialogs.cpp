#include "ui/FeatureDialogs.h"

#include "ui/CollectionCommands.h"
#include "ui/MainForm.h"

namespace tessaro {

void InstallFeatureDialogs(TMainForm& form) {
  // Collection, monitor, clock, memo, measurement mode, interval,
  // coefficients, terminal, conversion and firmware join here.
  InstallCollectionCommands(form);
}

}  // namespace tessaro
