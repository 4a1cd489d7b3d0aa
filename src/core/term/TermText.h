#pragma once
// The terminal's rules for the text it sends and shows: lines of at most
// 255 bytes, pasted text of at most 1024 characters split at its line ends.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

constexpr size_t kTermLineBytes = 255;
constexpr size_t kMaxPasteCharacters = 1024;
constexpr uint8_t kCR = 0x0D;
constexpr uint8_t kLF = 0x0A;

// A byte the terminal shows as it is; any other shows as ".". Bytes from
// 0x80 up belong to the recorder's double-byte characters.
constexpr bool IsShownByte(uint8_t byte) { return byte >= 0x20 && byte != 0x7F; }

// The text with every byte that is not shown replaced by ".".
std::string MaskControlBytes(std::string_view text);

// Characters (not bytes) of a UTF-8 text.
size_t Utf8Characters(std::string_view utf8);

// The pieces of a pasted text between its line ends (CR LF, CR or LF). The
// piece after the last line end is included, so a text ending with a line
// end gives an empty last piece.
std::vector<std::string> SplitPastedText(std::string_view text);

// A typed CP932 line cut into pieces of at most 255 bytes that never split
// a double-byte character; an empty line is one empty piece.
std::vector<std::string> TypedLinePieces(std::string_view cp932);

}  // namespace tessaro
