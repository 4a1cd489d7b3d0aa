#include "core/term/TermText.h"

#include <algorithm>

#include "core/support/CodePage.h"

namespace tessaro {

std::string MaskControlBytes(std::string_view text) {
  std::string shown(text);
  for (char& c : shown)
    if (!IsShownByte(static_cast<uint8_t>(c))) c = '.';
  return shown;
}

size_t Utf8Characters(std::string_view utf8) {
  return static_cast<size_t>(std::count_if(
      utf8.begin(), utf8.end(), [](char c) { return (static_cast<uint8_t>(c) & 0xC0) != 0x80; }));
}

std::vector<std::string> SplitPastedText(std::string_view text) {
  std::vector<std::string> pieces(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      pieces.emplace_back();
    } else {
      pieces.back() += c;
    }
  }
  return pieces;
}

std::vector<std::string> TypedLinePieces(std::string_view cp932) {
  std::vector<std::string> pieces;
  do {
    const std::string_view piece = CutCp932(cp932, kTermLineBytes);
    pieces.emplace_back(piece);
    cp932.remove_prefix(piece.size());
  } while (!cp932.empty());
  return pieces;
}

}  // namespace tessaro
