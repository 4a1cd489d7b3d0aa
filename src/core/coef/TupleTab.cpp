#include "core/coef/TupleTab.h"

#include <cctype>
#include <charconv>

namespace tessaro {
namespace {

std::optional<int> WholeNumber(std::string_view text) {
  int number = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, number);
  if (text.empty() || error != std::errc() || last != end || number < 0) return std::nullopt;
  return number;
}

}  // namespace

std::string TupleCodePrefix(const Area& area) {
  switch (area.kind()) {
    case Area::Kind::Rom:
      return "ROM";
    case Area::Kind::Eep:
      return "EEP";
    case Area::Kind::Batt:
      return "BATT";
    case Area::Kind::File:
      break;
  }
  return "FILE";
}

std::string TupleTabName(const Area& area) {
  if (area.kind() == Area::Kind::File) return "FILE" + std::to_string(area.group());
  return TupleCodePrefix(area);
}

std::optional<Area> ParseTupleTabName(std::string_view name) {
  if (name == "ROM") return Area::Rom;
  if (name == "EEP") return Area::Eep;
  if (name == "BATT") return Area::Batt;
  if (name.substr(0, 4) != "FILE") return std::nullopt;
  const auto group = WholeNumber(name.substr(4));
  if (!group || *group < 1) return std::nullopt;
  return Area::File(*group);
}

std::optional<int> TupleRowNumber(const TupleRow& row) {
  std::string_view code = row.fields[ColumnCode];
  while (!code.empty() && std::isalpha(static_cast<unsigned char>(code.front())))
    code.remove_prefix(1);
  return WholeNumber(code);
}

}  // namespace tessaro
