#include "core/settings/CodeList.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "core/recorder/RecorderReply.h"

namespace tessaro {
namespace {

// The token's leading decimal integer (blanks and a sign allowed before
// it); nullopt when it has no digit there or the value is not an int.
std::optional<int> LeadingCode(std::string_view token) {
  size_t i = 0;
  while (i < token.size() && (token[i] == ' ' || token[i] == '\t')) ++i;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
  if (i >= token.size() || !std::isdigit(static_cast<unsigned char>(token[i]))) return std::nullopt;
  const int64_t value = ReplyInteger(std::string(token));
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

std::vector<int> ReadCodeList(const std::string& reply, size_t capacity) {
  std::vector<int> codes;
  if (IsRefusal(reply)) return codes;
  std::string_view rest(reply);
  while (!rest.empty() && codes.size() < capacity) {
    const size_t comma = rest.find(',');
    const std::string_view token = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);

    const size_t colon = token.find(':');
    const auto first = LeadingCode(token.substr(0, colon));
    if (!first) continue;
    const auto last =
        colon == std::string_view::npos ? std::nullopt : LeadingCode(token.substr(colon + 1));
    if (!last) {
      codes.push_back(*first);
      continue;
    }
    // Only as many codes as still fit: a range may span billions.
    for (int64_t code = *first; code <= *last && codes.size() < capacity; ++code)
      codes.push_back(static_cast<int>(code));
  }
  return codes;
}

int ReplyCode(const std::string& reply) {
  return static_cast<int>(std::clamp<int64_t>(ReplyInteger(reply), std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max()));
}

std::string CodeListText(const std::vector<int>& codes) {
  std::string text;
  for (const int code : codes) {
    if (!text.empty()) text += ',';
    text += std::to_string(code);
  }
  return text;
}

bool ListsCode(const std::vector<int>& codes, int code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace tessaro
