#include "ui/CommandDialog.h"

#include <exception>
#include <new>

#include "core/support/MessageBox.h"
#include "core/support/Messages.h"
#include "ui/shell/AppSession.h"

namespace tessaro {

int RunDialogCommand(AppSession& session, QWidget* parent, const DialogFactory& create,
                     FeatureNeeds needs, const std::function<void(TCommandDialog&)>& onAccepted) {
  if (needs.definitions && !session.RequireDefinitions()) return QDialog::Rejected;
  IdleScope busy(session.IdleFlag());
  if (needs.lineCheck && !session.CheckLine()) return QDialog::Rejected;
  std::unique_ptr<TCommandDialog> dialog;
  try {
    dialog = create(session, parent);
    if (!dialog || !dialog->Prepare()) {
      ShowError(LoadMessage(MsgFormInitFailed));
      return QDialog::Rejected;
    }
  } catch (const std::bad_alloc&) {
    ShowError(LoadMessage(MsgOutOfMemory));
    return QDialog::Rejected;
  } catch (const std::exception&) {
    ShowError(LoadMessage(MsgFormInitFailed));
    return QDialog::Rejected;
  }
  const int result = dialog->exec();
  if (result == QDialog::Accepted) {
    try {
      dialog->Apply();
    } catch (const std::bad_alloc&) {
      ShowError(LoadMessage(MsgOutOfMemory));
      return QDialog::Rejected;
    } catch (const std::exception& e) {
      ShowError(e.what());  // a write step carries the user's message
      return QDialog::Rejected;
    }
    if (onAccepted) onAccepted(*dialog);
  }
  return result;
}

}  // namespace tessaro
