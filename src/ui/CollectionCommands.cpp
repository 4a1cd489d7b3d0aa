#include "ui/CollectionCommands.h"

#include <memory>

#include "ui/CollectionContext.h"
#include "ui/ConvDlg.h"
#include "ui/MainForm.h"
#include "ui/TransTessDlg.h"
#include "ui/shell/AppSession.h"

namespace tessaro {

CollectionContext CollectionContextOf(AppSession& session, const FileDialogs& files) {
  return {session.Definitions(), session.Gauge(),      session.Paths().settingsFile,
          session.DataFolder(),  session.WorkFolder(), files};
}

void InstallCollectionCommands(TMainForm& form, FileDialogs files) {
  form.SetFeatureDialog(FeatureCommand::Trans,
                        [files](AppSession& session, QWidget* parent) {
                          return std::make_unique<TTransTessDLG>(
                              session.Line(), session.HighSpeedMode(),
                              CollectionContextOf(session, files), parent);
                        },
                        {.lineCheck = true, .definitions = true});
  form.SetFeatureDialog(FeatureCommand::Convert,
                        [files](AppSession& session, QWidget* parent) {
                          return std::make_unique<TConvDLG>(CollectionContextOf(session, files),
                                                            parent);
                        },
                        {.definitions = true});
}

}  // namespace tessaro
