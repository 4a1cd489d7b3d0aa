#pragma once
// Where the function dialogs join the main window. A dialog whose
// constructor takes (AppSession& session, QWidget* parent) joins with one
// line in InstallFeatureDialogs:
//   form.SetFeatureDialog(FeatureCommand::Clock, MakeDialog<TTimeDLG>, {.lineCheck = true});
// The needs say what the runner checks before it creates the dialog:
//   .lineCheck    LinePurge, then LineCheck; a silent line shows the line
//                 message and the dialog is never created. Collection,
//                 monitor and clock check here; a function that checks
//                 inside its own read step (behind the progress dialog)
//                 calls session.CheckLine() there instead. The terminal
//                 starts without a check.
//   .definitions  the definition database must be open.
// A dialog that needs more than the session gets a lambda factory, e.g.
//   [files](AppSession& session, QWidget* parent) { ... }.
// The firmware writer joins with form.SetFirmwareWriter(...). A function
// that never joins stays disabled.

namespace tessaro {

class TMainForm;

void InstallFeatureDialogs(TMainForm& form);

}  // namespace tessaro
