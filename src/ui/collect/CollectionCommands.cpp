#include "ui/collect/CollectionCommands.h"

#include <memory>

#include "ui/collect/CollectionContext.h"
#include "ui/collect/ConvDlg.h"
#include "ui/collect/GraphCommand.h"
#include "ui/collect/TransTessDlg.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/MainForm.h"

namespace tessaro {

CollectionContext CollectionContextOf(AppSession& session, const FileDialogs& files) {
  return {session.Definitions(), session.Gauge(),      session.Paths().settingsFile,
          session.DataFolder(),  session.WorkFolder(), files,
          GraphOpener(session)};
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
