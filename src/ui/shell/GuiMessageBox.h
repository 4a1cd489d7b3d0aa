#pragma once
// The message boxes of the running program: a beep, then a modal box with
// the program's name as caption. Calls from worker threads are carried to
// the UI thread and wait for the answer there.

#include <QObject>

#include "core/support/MessageBox.h"

namespace tessaro {

class TGuiMessageBox final : public QObject, public MessageBoxHandler {
  Q_OBJECT

 public:
  // Lives on the thread that creates it, which must be the UI thread.
  explicit TGuiMessageBox(QObject* parent = nullptr);

  BoxResult ShowError(const std::string& text) override;
  BoxResult ShowWarning(const std::string& text) override;
  BoxResult AskInformation(const std::string& text) override;
  BoxResult AskWarning(const std::string& text) override;
  BoxResult AskYesNo(const std::string& text) override;

 private:
  BoxResult Show(int icon, int buttons, const std::string& text);
};

}  // namespace tessaro
