#include "ui/CommandDialog.h"

#include <exception>
#include <new>

#include "core/support/MessageBox.h"
#include "core/support/Messages.h"

namespace tessaro {

int RunDialogCommand(std::atomic<int>& idle, const DialogFactory& create,
                     const std::function<void(TCommandDialog&)>& onAccepted) {
  IdleScope busy(idle);
  std::unique_ptr<TCommandDialog> dialog;
  try {
    dialog = create();
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
