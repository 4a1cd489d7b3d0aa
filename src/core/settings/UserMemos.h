#pragma once
// The recorder's user memo lines: BATT entries 620 upward, each at most 16
// bytes of CP932 text. The memo dialog and tessaro-cli memo both go through
// here. Memos are kept as the recorder's bytes; typed and pasted text comes
// in through MemoFromText, which refuses what would break the command line.
//
//   std::vector<std::string> memos = ReadMemos(session);
//   memos[0] = *MemoFromText("北棟");
//   WriteMemos(session, memos);

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

class RecorderSession;

inline constexpr size_t kMemoBytes = 16;

// A memo from UTF-8 text: its CP932 bytes cut to 16 at a whole character;
// nullopt when the text holds a control character (CR, LF, TAB, ...) or a
// character CP932 cannot encode.
std::optional<std::string> MemoFromText(std::string_view utf8);

// The number shown for memo index (from 0): "00001" upward.
std::string MemoNumber(size_t index);

// Whether a memo may go into a command: no control bytes, at most 16 bytes.
bool IsSendableMemo(std::string_view cp932);

// LinePurge, the line check, then "battr620" upward until a refusal
// ("??CODE": no such entry), at most 16 lines; each reply cut to 16 bytes at
// a whole character. Every failure fails with the line message.
std::vector<std::string> ReadMemos(RecorderSession& session);

// "battw620,text" upward for every memo, after checking them all (a memo
// that may not be sent fails with the bad-character message before
// anything is sent). A silent recorder fails with "no echo back", a refusal
// with the memo write message; earlier memos stay written.
void WriteMemos(RecorderSession& session, const std::vector<std::string>& memos);

}  // namespace tessaro
