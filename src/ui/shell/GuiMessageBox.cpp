#include "ui/shell/GuiMessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/shell/ExchangeGuard.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiThread.h"

namespace tessaro {

TGuiMessageBox::TGuiMessageBox(QObject* parent) : QObject(parent) {}

BoxResult TGuiMessageBox::ShowError(const std::string& text) {
  return Show(QMessageBox::Critical, QMessageBox::Ok, text);
}

BoxResult TGuiMessageBox::ShowWarning(const std::string& text) {
  return Show(QMessageBox::Warning, QMessageBox::Ok, text);
}

BoxResult TGuiMessageBox::AskInformation(const std::string& text) {
  return Show(QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel, text);
}

BoxResult TGuiMessageBox::AskWarning(const std::string& text) {
  return Show(QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel, text);
}

BoxResult TGuiMessageBox::AskYesNo(const std::string& text) {
  return Show(QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, text);
}

BoxResult TGuiMessageBox::Show(int icon, int buttons, const std::string& text) {
  return CallOnThreadOf(this, [&] {
    QApplication::beep();
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), Msg(MsgProgramName), ToQt(text),
                    static_cast<QMessageBox::StandardButtons>(buttons),
                    QApplication::activeWindow());
    // A worker's message comes while the UI thread waits for it.
    TExchangeGuard::AllowDuringExchange(&box);
    switch (box.exec()) {
      case QMessageBox::Ok:
        return BoxResult::Ok;
      case QMessageBox::Yes:
        return BoxResult::Yes;
      case QMessageBox::No:
        return BoxResult::No;
      default:
        return buttons & QMessageBox::Yes ? BoxResult::No : BoxResult::Cancel;
    }
  });
}

}  // namespace tessaro
