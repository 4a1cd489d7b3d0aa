#include "ui/CollectionCommands.h"

#include <memory>
#include <stdexcept>

#include "ui/CollectionContext.h"
#include "ui/ConvDlg.h"
#include "ui/MainForm.h"
#include "ui/TransTessDlg.h"

namespace tessaro {

CollectionContext CollectionContextOf(TMainForm& form, const FileDialogs& files) {
  if (!form.Gauge()) throw std::runtime_error("no progress dialog");
  return {form.Definitions(),
          *form.Gauge(),
          form.Paths().settingsFile,
          form.Settings().dataFolder,
          WritableProgramFolder(form.Paths()),
          files};
}

void InstallCollectionCommands(TMainForm& form, FileDialogs files) {
  // The main window checks the line before the collection dialog reads it.
  form.SetFeatureDialog(
      FeatureCommand::Trans,
      [&form, files] {
        return std::make_unique<TTransTessDLG>(form.Line(), form.HighSpeedMode(),
                                               CollectionContextOf(form, files), &form);
      },
      true);
  form.SetFeatureDialog(
      FeatureCommand::Convert,
      [&form, files] {
        return std::make_unique<TConvDLG>(CollectionContextOf(form, files), &form);
      },
      true);
}

}  // namespace tessaro
