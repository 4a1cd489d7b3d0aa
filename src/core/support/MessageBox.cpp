#include "core/support/MessageBox.h"

#include <atomic>
#include <cstdio>

namespace tessaro {
namespace {

class StderrMessageBox final : public MessageBoxHandler {
 public:
  BoxResult ShowError(const std::string& text) override { return Print(text, BoxResult::Ok); }
  BoxResult ShowWarning(const std::string& text) override { return Print(text, BoxResult::Ok); }
  BoxResult AskInformation(const std::string& text) override { return Print(text, BoxResult::Ok); }
  BoxResult AskWarning(const std::string& text) override { return Print(text, BoxResult::Ok); }
  BoxResult AskYesNo(const std::string& text) override { return Print(text, BoxResult::Yes); }

 private:
  static BoxResult Print(const std::string& text, BoxResult answer) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return answer;
  }
};

StderrMessageBox g_stderrBox;
std::atomic<MessageBoxHandler*> g_handler{&g_stderrBox};

}  // namespace

MessageBoxHandler* InstallMessageBoxHandler(MessageBoxHandler* handler) {
  MessageBoxHandler* previous = g_handler.exchange(handler ? handler : &g_stderrBox);
  return previous == &g_stderrBox ? nullptr : previous;
}

BoxResult ShowError(const std::string& text) { return g_handler.load()->ShowError(text); }
BoxResult ShowWarning(const std::string& text) { return g_handler.load()->ShowWarning(text); }
BoxResult AskInformation(const std::string& text) { return g_handler.load()->AskInformation(text); }
BoxResult AskWarning(const std::string& text) { return g_handler.load()->AskWarning(text); }
BoxResult AskYesNo(const std::string& text) { return g_handler.load()->AskYesNo(text); }

}  // namespace tessaro
