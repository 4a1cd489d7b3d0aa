#include "ui/settings/MemoValidator.h"

#include "core/settings/UserMemos.h"
#include "core/support/CodePage.h"
#include "ui/shell/QtText.h"

namespace tessaro {

QValidator::State TMemoValidator::validate(QString& input, int& pos) const {
  const auto memo = MemoFromText(FromQt(input));
  if (!memo) return Invalid;
  const QString kept = ToQt(Cp932ToUtf8(*memo));
  if (kept != input) {
    input = kept;
    pos = std::min(pos, static_cast<int>(kept.size()));
  }
  return Acceptable;
}

}  // namespace tessaro
