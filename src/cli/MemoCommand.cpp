#include "cli/MemoCommand.h"

#include <CLI/CLI.hpp>
#include <optional>

#include "core/recorder/RecorderFailure.h"
#include "core/recorder/RecorderSession.h"
#include "core/settings/UserMemos.h"
#include "core/support/CodePage.h"
#include "core/support/SilentProgress.h"

namespace tessaro {
namespace {

struct MemoSetting {
  size_t index;      // from 0
  std::string memo;  // CP932
};

std::optional<MemoSetting> ParseMemoSetting(const std::string& text) {
  const size_t equals = text.find('=');
  if (equals == 0 || equals == std::string::npos || equals > 2) return std::nullopt;
  size_t number = 0;
  for (size_t i = 0; i < equals; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    number = number * 10 + static_cast<size_t>(text[i] - '0');
  }
  if (number < 1) return std::nullopt;
  auto memo = MemoFromText(std::string_view(text).substr(equals + 1));
  if (!memo) return std::nullopt;
  return MemoSetting{number - 1, std::move(*memo)};
}

void PrintMemos(std::ostream& out, const std::vector<std::string>& memos) {
  for (size_t n = 0; n < memos.size(); ++n) {
    out << MemoNumber(n) << "\t" << Cp932ToUtf8(memos[n]) << "\n";
  }
  out.flush();
}

}  // namespace

void BindMemoArguments(CLI::App& command, MemoArguments& arguments) {
  command.add_option("--set", arguments.sets, "replace memo N (from 1) with TEXT")
      ->type_name("N=TEXT")
      ->check(CLI::Validator(
          [](const std::string& text) -> std::string {
            if (ParseMemoSetting(text)) return "";
            return "N=TEXT with N from 1 and TEXT without control characters, in the "
                   "recorder's character set";
          },
          ""));
}

int RunMemo(CliContext& context, const MemoArguments& arguments) {
  SilentProgress progress;
  RecorderSession session(*context.line, progress);
  std::vector<std::string> memos;
  StepResult step = RunOperation([&] { memos = ReadMemos(session); });
  if (!step) {
    context.err << step.message << "\n";
    return kExitFailed;
  }
  if (arguments.sets.empty()) {
    PrintMemos(context.out, memos);
    return kExitOk;
  }
  for (const std::string& text : arguments.sets) {
    const MemoSetting setting = *ParseMemoSetting(text);
    if (setting.index >= memos.size()) {
      context.err << "--set " << text << ": the recorder has " << memos.size() << " memos\n";
      return kExitUsage;
    }
    memos[setting.index] = setting.memo;
  }
  step = RunOperation([&] { WriteMemos(session, memos); });
  if (!step) {
    context.err << step.message << "\n";
    return kExitFailed;
  }
  PrintMemos(context.out, memos);
  return kExitOk;
}

}  // namespace tessaro
