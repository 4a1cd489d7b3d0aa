#pragma once
// The text form of coefficient values as the view shows them: from a tuple
// of a received area, and from the value a recorder returns after a write.
// Texts are UTF-8; the recorder's memo bytes are CP932.
//
//   文字型 FF        -> "-00001"      正整数型 FFFF   -> "+65535"
//   倍長整数型        -> "+0123456789" 実数型         -> "1.500000e+00"
//   日付時刻型        -> "26/12/08 10:23:45", or its 12 digits when invalid
//   ビット16型 00A5   -> "00A5h"

#include <optional>
#include <string>
#include <string_view>

#include "core/collect/RecorderTuple.h"

namespace tessaro {

// The value column of a tuple; " " when the text is empty.
std::string FormatTupleValue(const RecorderTuple& tuple);
// The value column after a write, from the recorder's reply; " " when empty.
std::string ReplyValueText(int type, std::string_view reply);
// A real as "%e" writes it in the C locale ("-2.250000e-03"), whatever the
// program's locale: the text goes to the recorder.
std::string ExponentText(double value);
// The real number a whole text spells in the C locale (an optional sign,
// digits, a point, an exponent); nullopt for anything else.
std::optional<double> ParseReal(std::string_view text);
// The type code of a type name, tried in the order 0, 1, 10, 2, 3, 4, 5, 7,
// 6, 20, 21, 22 (so "整数型" is 1, never 11); nullopt for no name.
std::optional<int> TupleTypeFromName(std::string_view name);

}  // namespace tessaro
