#pragma once
// Conversion between the recorder's code page, CP932 (the Windows variant
// of Shift-JIS), and the UTF-8 the program works in. Recorder bytes travel
// unconverted; these are for display and for text the user typed.
// Each call opens its own converter, so any thread may call them.

#include <optional>
#include <string>
#include <string_view>

namespace tessaro {

// CP932 bytes as UTF-8; a byte that starts no valid character becomes
// U+FFFD and conversion goes on with the next byte.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 as CP932; a character CP932 lacks, or an invalid UTF-8 byte, becomes
// the replacement byte.
std::string Utf8ToCp932(std::string_view utf8, char replacement = '?');

// UTF-8 as CP932, or nothing when some character has no CP932 form or the
// input is not valid UTF-8 (for checking typed input).
std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8);

// The longest start of a CP932 text that fits in maxBytes without splitting
// a double-byte character.
std::string_view CutCp932(std::string_view cp932, size_t maxBytes);

}  // namespace tessaro
