#include "sim/SimTuple.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "sim/SimCalendar.h"

namespace tessaro::sim {

namespace {

struct TypeShape {
  uint8_t elementSize;
  uint8_t count;
};

std::optional<TypeShape> ShapeOf(int type) {
  switch (type) {
    case kTypeChar:
    case kTypeBit8:
      return TypeShape{1, 1};
    case kTypeInt16:
    case kTypeUInt16:
    case kTypeSInt16:
    case kTypeBit16:
      return TypeShape{2, 1};
    case kTypeInt32:
    case kTypeReal:
    case kTypeBit32:
      return TypeShape{4, 1};
    case kTypeDouble:
      return TypeShape{8, 1};
    case kTypeMemo:
      return TypeShape{1, 32};
    case kTypeDateTime:
      return TypeShape{6, 1};
    case kTypeMemo16:
      return TypeShape{1, 16};
    default:
      return std::nullopt;
  }
}

SimTuple Blank(uint16_t number, int type) {
  const TypeShape shape = ShapeOf(type).value_or(TypeShape{2, 1});
  SimTuple tuple;
  tuple.number = number;
  tuple.type = type;
  tuple.elementSize = shape.elementSize;
  tuple.count = shape.count;
  tuple.value.assign(size_t{shape.elementSize} * shape.count, 0);
  return tuple;
}

void PutBigEndian(std::vector<uint8_t>& bytes, uint64_t value) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[bytes.size() - 1 - i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

uint64_t GetBigEndian(const std::vector<uint8_t>& bytes) {
  uint64_t value = 0;
  for (uint8_t b : bytes) value = (value << 8) | b;
  return value;
}

bool IsIntegerType(int type) {
  switch (type) {
    case kTypeChar:
    case kTypeInt16:
    case kTypeInt32:
    case kTypeUInt16:
    case kTypeSInt16:
    case kTypeBit8:
    case kTypeBit16:
    case kTypeBit32:
      return true;
    default:
      return false;
  }
}

bool IsBitType(int type) { return type == kTypeBit8 || type == kTypeBit16 || type == kTypeBit32; }

// The range a write may store into an integer type.
void IntegerRange(int type, int64_t& low, int64_t& high) {
  switch (type) {
    case kTypeChar:
      low = -128, high = 127;
      return;
    case kTypeInt16:
    case kTypeSInt16:
      low = -32768, high = 32767;
      return;
    case kTypeUInt16:
      low = 0, high = 65535;
      return;
    case kTypeInt32:
      low = INT32_MIN, high = INT32_MAX;
      return;
    case kTypeBit8:
      low = 0, high = 0xFF;
      return;
    case kTypeBit16:
      low = 0, high = 0xFFFF;
      return;
    default:
      low = 0, high = 0xFFFFFFFFLL;
      return;
  }
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<int64_t> ParseWhole(std::string_view text, int base) {
  if (text.empty() || text.size() > 40) return std::nullopt;
  const std::string copy(text);
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(copy.c_str(), &end, base);
  if (errno != 0 || end != copy.c_str() + copy.size() || end == copy.c_str()) return std::nullopt;
  return value;
}

}  // namespace

int TupleByteSize(int type) {
  switch (type) {
    case 0:
    case 20:
    case 1:
    case 10:
    case 11:
    case 21:
      return 8;
    case 2:
    case 22:
    case 3:
      return 10;
    case 4:
      return 14;
    case 5:
      return 38;
    case 6:
      return 12;
    case 7:
      return 22;
    default:
      return 0;
  }
}

SimTuple MakeIntTuple(uint16_t number, int type, int64_t value) {
  SimTuple tuple = Blank(number, type);
  PutBigEndian(tuple.value, static_cast<uint64_t>(value));
  return tuple;
}

SimTuple MakeRealTuple(uint16_t number, int type, double value) {
  SimTuple tuple = Blank(number, type);
  if (type == kTypeReal) {
    const float f = static_cast<float>(value);
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    PutBigEndian(tuple.value, bits);
  } else {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutBigEndian(tuple.value, bits);
  }
  return tuple;
}

SimTuple MakeTextTuple(uint16_t number, int type, std::string_view text) {
  SimTuple tuple = Blank(number, type);
  const size_t n = std::min(text.size(), tuple.value.size());
  std::memcpy(tuple.value.data(), text.data(), n);
  return tuple;
}

SimTuple MakeDateTimeTuple(uint16_t number, const DateTimeFields& fields) {
  return MakeRawDateTimeTuple(number, DateTimeBytes(fields));
}

SimTuple MakeRawDateTimeTuple(uint16_t number, const std::vector<uint8_t>& bytes) {
  SimTuple tuple = Blank(number, kTypeDateTime);
  for (size_t i = 0; i < tuple.value.size() && i < bytes.size(); ++i) tuple.value[i] = bytes[i];
  return tuple;
}

int64_t TupleIntValue(const SimTuple& tuple) {
  if (!IsIntegerType(tuple.type)) return 0;
  const uint64_t raw = GetBigEndian(tuple.value);
  switch (tuple.type) {
    case kTypeChar:
      return static_cast<int8_t>(raw);
    case kTypeInt16:
    case kTypeSInt16:
      return static_cast<int16_t>(raw);
    case kTypeInt32:
      return static_cast<int32_t>(raw);
    default:
      return static_cast<int64_t>(raw);  // unsigned and bit types
  }
}

std::string TupleValueText(const SimTuple& tuple) {
  char text[64];
  switch (tuple.type) {
    case kTypeReal: {
      const uint32_t bits = static_cast<uint32_t>(GetBigEndian(tuple.value));
      float f;
      std::memcpy(&f, &bits, sizeof f);
      std::snprintf(text, sizeof text, "%e", static_cast<double>(f));
      return text;
    }
    case kTypeDouble: {
      const uint64_t bits = GetBigEndian(tuple.value);
      double d;
      std::memcpy(&d, &bits, sizeof d);
      std::snprintf(text, sizeof text, "%.15e", d);
      return text;
    }
    case kTypeMemo:
    case kTypeMemo16: {
      std::string s(tuple.value.begin(), tuple.value.end());
      return s.substr(0, s.find('\0'));
    }
    case kTypeDateTime:
      return tuple.value.size() >= 6 ? BcdDigits(tuple.value.data()) : std::string();
    default:
      std::snprintf(text, sizeof text, "%lld", static_cast<long long>(TupleIntValue(tuple)));
      return text;
  }
}

bool SetTupleValueFromText(SimTuple& tuple, std::string_view text) {
  if (tuple.type == kTypeMemo || tuple.type == kTypeMemo16) {
    std::fill(tuple.value.begin(), tuple.value.end(), 0);
    std::memcpy(tuple.value.data(), text.data(), std::min(text.size(), tuple.value.size()));
    return true;
  }
  text = Trim(text);
  if (tuple.type == kTypeDateTime) {
    // Digits alone, or the display form yy/mm/dd hh:mm:ss a pasted value carries.
    std::string digits;
    for (char c : text) {
      if (c != '/' && c != ':' && c != ' ') digits += c;
    }
    const auto fields = ParseClockDigits(digits);
    if (!fields) return false;
    tuple.value = DateTimeBytes(*fields);
    return true;
  }
  if (tuple.type == kTypeReal || tuple.type == kTypeDouble) {
    if (text.empty() || text.size() > 60) return false;
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || std::isnan(value)) return false;
    tuple = MakeRealTuple(tuple.number, tuple.type, value);
    return true;
  }
  if (!IsIntegerType(tuple.type)) return false;
  std::optional<int64_t> value;
  if (IsBitType(tuple.type) && !text.empty() && (text.back() == 'h' || text.back() == 'H')) {
    // The view shows bit values as hex digits and "h"; a paste sends that form.
    text.remove_suffix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) return false;
    value = ParseWhole(text, 16);
  } else {
    value = ParseWhole(text, 10);
  }
  if (!value) return false;
  int64_t low = 0;
  int64_t high = 0;
  IntegerRange(tuple.type, low, high);
  if (*value < low || *value > high) return false;
  PutBigEndian(tuple.value, static_cast<uint64_t>(*value));
  return true;
}

}  // namespace tessaro::sim
