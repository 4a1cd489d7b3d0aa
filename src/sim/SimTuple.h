#pragma once
// One tuple of a recorder's tuple area as the recorder stores it: number,
// type code, element size, count and the value bytes in big-endian order.
// The helpers convert values to and from the text the recorder's read and
// write commands use.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/collect/RecorderTuple.h"  // the type codes
#include "core/support/DateTime.h"

namespace tessaro::sim {

struct SimTuple {
  uint16_t number = 0;
  int type = kTypeInt16;
  uint8_t elementSize = 2;
  uint8_t count = 1;
  std::vector<uint8_t> value;  // elementSize * count bytes, big-endian
};

// Bytes a reader takes for a tuple of this type, header included; 0 for a
// type code the recorder does not use.
int TupleByteSize(int type);

// Integer types (0, 1, 2, 10, 11, 20, 21, 22); the value is cut to the width.
SimTuple MakeIntTuple(uint16_t number, int type, int64_t value);
SimTuple MakeRealTuple(uint16_t number, int type, double value);  // 3 or 4
// 5 (32 bytes) or 7 (16 bytes); longer text is cut, shorter padded with NUL.
SimTuple MakeTextTuple(uint16_t number, int type, std::string_view text);
SimTuple MakeDateTimeTuple(uint16_t number, const DateTimeFields& fields);
// A date-time tuple holding six raw bytes (all zero: no time recorded).
SimTuple MakeRawDateTimeTuple(uint16_t number, const std::vector<uint8_t>& bytes);

// Integer value of an integer tuple (sign by type); 0 for other types.
int64_t TupleIntValue(const SimTuple& tuple);

// The reply text of a read command: decimal for integer and bit types, a
// real number for 3 and 4, the text up to its first NUL for 5 and 7, the 12
// clock digits for 6.
std::string TupleValueText(const SimTuple& tuple);

// Stores the value of a write command's text; false (tuple unchanged) when
// the text does not fit the type.
bool SetTupleValueFromText(SimTuple& tuple, std::string_view text);

}  // namespace tessaro::sim
