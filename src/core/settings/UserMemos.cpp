#include "core/settings/UserMemos.h"

#include <algorithm>
#include <cstdio>

#include "core/recorder/RecorderFailure.h"
#include "core/recorder/RecorderReply.h"
#include "core/recorder/RecorderSession.h"
#include "core/recorder/TupleNumbers.h"
#include "core/support/CodePage.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

// CP932 trail bytes start at 0x40, so a control byte is never part of a
// double-byte character.
bool HasControl(std::string_view text) { return std::any_of(text.begin(), text.end(), IsControl); }

}  // namespace

std::optional<std::string> MemoFromText(std::string_view utf8) {
  if (HasControl(utf8)) return std::nullopt;
  const std::optional<std::string> cp932 = Utf8ToCp932Exact(utf8);
  if (!cp932 || HasControl(*cp932)) return std::nullopt;
  return std::string(CutCp932(*cp932, kMemoBytes));
}

std::string MemoNumber(size_t index) {
  char number[24];
  std::snprintf(number, sizeof number, "%.5zu", index + 1);
  return number;
}

bool IsSendableMemo(std::string_view cp932) {
  return cp932.size() <= kMemoBytes && !HasControl(cp932);
}

std::vector<std::string> ReadMemos(RecorderSession& session) {
  session.CheckLine();
  std::vector<std::string> memos;
  while (memos.size() < static_cast<size_t>(tuples::kMemoLines)) {
    const int number = tuples::kMemo + static_cast<int>(memos.size());
    const std::string reply = session.ReadTuple(Area::Batt, number, MsgLineCheckFailed);
    if (IsRefusal(reply)) break;
    memos.emplace_back(CutCp932(reply, kMemoBytes));
  }
  return memos;
}

void WriteMemos(RecorderSession& session, const std::vector<std::string>& memos) {
  Require(std::all_of(memos.begin(), memos.end(), IsSendableMemo), MsgMemoBadCharacter);
  for (size_t n = 0; n < memos.size(); ++n) {
    const int number = tuples::kMemo + static_cast<int>(n);
    const std::string reply = session.WriteTuple(Area::Batt, number, memos[n], MsgNoEchoBack);
    Require(!IsRefusal(reply), MsgMemoWriteFailed);
  }
}

}  // namespace tessaro
