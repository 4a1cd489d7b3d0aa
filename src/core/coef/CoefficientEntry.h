#pragma once
// The coefficient editor's rules without any widget: which types it edits,
// how long an entry may be, which texts it accepts and the value text a
// write sends for them. The editor, paste and `tessaro-cli coef --set` all
// go through EntryValueText, so a value reaches the recorder only in the
// editor's form:
//
//   EntryValueText(kTypeInt16, "4321")            -> "+04321"
//   EntryValueText(kTypeBit8, "81h")              -> "129"
//   EntryValueText(kTypeDateTime, "26/12/08 10:23:45") -> "261208102345"
//   EntryValueText(kTypeChar, "128")              -> nullopt

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/coef/TupleTable.h"

namespace tessaro {

// Types the editor has a page for: the value types and 11.
bool IsEditableType(int type);
// Flag bits of a bit type (8, 16 or 32); 0 for other types.
int TupleTypeBits(int type);
// Characters the edit field takes for a type of the text page. Real values
// get room for a whole "%e" text; memos are limited in bytes by the entry.
int EntryMaxLength(int type);
// Bytes a memo type stores at most (31, 15); 0 for other types.
int MemoEntryBytes(int type);

// The bits of a bit type's shown value: the hex digits before "h"
// ("A5h" -> 0xA5); 0 when a digit is not hex.
uint32_t ShownBitValue(int type, std::string_view shown);
// The value text a write sends for bits: unsigned decimal.
std::string BitValueText(uint32_t bits);

// The value text a write sends for an entry, or nullopt when the editor
// refuses it. Blanks around the text are dropped. Bit types take the shown
// form ("81h") or a decimal number. Memo texts are UTF-8, refused with a
// control character or a character CP932 lacks, and cut to MemoEntryBytes
// at a whole character.
std::optional<std::string> EntryValueText(int type, std::string_view typed);

// "P;type name;value", what copy puts on the clipboard.
std::string CoefficientClipText(const TupleRow& row);

// What a pasted text makes of a row: the value text to send, or the
// failure text. The clipboard text is split at its first two ";" only; its
// type name must be the row's; the value goes through EntryValueText.
struct PastedCoefficient {
  std::string valueText;
  std::string failure;  // empty: valueText may be sent
};
PastedCoefficient ParsePastedCoefficient(const std::string* clipboardText, const TupleRow& row);

}  // namespace tessaro
