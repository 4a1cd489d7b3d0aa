#pragma once
// The shape every main-window function dialog shares: created for one
// command, prepared (it reads what it needs from the recorder), shown
// modally, applied on OK (it writes to the recorder), then destroyed.

#include <QDialog>
#include <atomic>
#include <functional>
#include <memory>

namespace tessaro {

class TCommandDialog : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;

  // Reads and fills; false ends the command (after the step's own message).
  virtual bool Prepare() { return true; }
  // Writes after OK; dialogs that only show something keep the default.
  virtual void Apply() {}
};

class AppSession;

// Creates a function's dialog; parent is the main window.
using DialogFactory =
    std::function<std::unique_ptr<TCommandDialog>(AppSession& session, QWidget* parent)>;

// The factory of a dialog whose constructor takes (AppSession&, QWidget*).
template <typename Dialog>
std::unique_ptr<TCommandDialog> MakeDialog(AppSession& session, QWidget* parent) {
  return std::make_unique<Dialog>(session, parent);
}

// What the runner checks before it creates a function's dialog.
struct FeatureNeeds {
  // LinePurge, then LineCheck: a recorder must answer, else the line
  // message and nothing else.
  bool lineCheck = false;
  // The definition database must be open, else its message.
  bool definitions = false;
};

// Clears the idle flag for its lifetime (a command is running) and restores
// it afterwards, so scopes may nest.
class IdleScope {
 public:
  explicit IdleScope(std::atomic<int>& idle) : idle_(idle), previous_(idle.exchange(0)) {}
  ~IdleScope() { idle_.store(previous_); }
  IdleScope(const IdleScope&) = delete;
  IdleScope& operator=(const IdleScope&) = delete;

 private:
  std::atomic<int>& idle_;
  int previous_;
};

// Runs one command: the needs' checks, idle flag 0, create, prepare, show,
// apply on OK, destroy, idle flag 1. A failed allocation reports the
// out-of-memory message, any other failure of creation or preparation the
// form-init message. onAccepted runs after a successful Apply, before the
// dialog goes. Returns the dialog's result (QDialog::Rejected when it never
// showed).
int RunDialogCommand(AppSession& session, QWidget* parent, const DialogFactory& create,
                     FeatureNeeds needs = {},
                     const std::function<void(TCommandDialog&)>& onAccepted = {});

}  // namespace tessaro
