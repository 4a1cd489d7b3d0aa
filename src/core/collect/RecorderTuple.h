#pragma once
// The recorder's own tuple records, as found in the ROM, EEP and BATT area
// images and in the ring groups (FileGroup) inside the BATT area:
//
//   number (uint16, big-endian; FFFF ends the area), length (int8, distance
//   to the next tuple, 1..127), type (int8), element size, count, value
//   (big-endian, from byte 6).
//
// The first tuple of an area is number 0. Reading a tuple reads a fixed size
// per type code; a type outside the table makes the tuple unreadable.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/support/DateTime.h"
#include "core/support/File.h"

namespace tessaro {

// Value type codes.
enum TupleType : int {
  kTypeChar = 0,
  kTypeInt16 = 1,
  kTypeInt32 = 2,
  kTypeReal = 3,
  kTypeDouble = 4,
  kTypeMemo = 5,
  kTypeDateTime = 6,
  kTypeMemo16 = 7,
  kTypeUInt16 = 10,
  kTypeSInt16 = 11,
  kTypeBit8 = 20,
  kTypeBit16 = 21,
  kTypeBit32 = 22,
};

struct RecorderTuple {
  static constexpr int kEndNumber = 0xFFFF;
  static constexpr int kHeaderSize = 6;
  static constexpr int kMaxReadSize = 38;

  int number = 0;
  int length = 0;
  int type = 0;
  int elementSize = 0;
  int count = 0;
  // The value in host order; ValueSize(type) bytes are used.
  std::array<uint8_t, 32> value{};

  // Bytes read for a tuple of this type, header included; 0 for a type
  // outside the table.
  static int ReadSize(int type);
  static int ValueSize(int type) { return ReadSize(type) > 0 ? ReadSize(type) - kHeaderSize : 0; }

  // Decodes a tuple from its first byte; nullopt when the type is unknown or
  // fewer than ReadSize(type) bytes are given.
  static std::optional<RecorderTuple> Decode(std::span<const uint8_t> bytes);
  // The value as stored by the recorder (big-endian), element size x count
  // bytes but never more than the type's value size.
  std::vector<uint8_t> EncodeValue() const;

  // Integer types: 0, 1, 2, 10, 11, 20, 21, 22.
  bool IsInteger() const;
  int64_t Integer() const;  // 0 for other types
  void SetInteger(int64_t v);
  RecorderDateTime DateTime() const;  // type 6
  void SetDateTime(const RecorderDateTime& dt);
  // Text types 5 and 7: the bytes up to the first NUL.
  std::string Text() const;
};

// Converts a value between recorder order and host order (the conversion is
// its own inverse). bytes holds ValueSize(type) bytes.
void ConvertTupleValue(int type, uint8_t* bytes);

// Offset of tuple `number` from the start of area; nullopt when the walk
// meets the end mark, a bad first tuple, a length below 1, an unknown type or
// the end of the image first.
std::optional<size_t> FindRecorderTuple(std::span<const uint8_t> area, int number);
std::optional<RecorderTuple> ReadRecorderTuple(std::span<const uint8_t> area, int number);

// The same on a region [start, end) of an open file. The walk reads through
// a small cache, so a search costs a few reads however the tuples lie.
std::optional<int64_t> FindRecorderTuple(File& file, int64_t start, int64_t end, int number);
std::optional<RecorderTuple> ReadRecorderTuple(File& file, int64_t start, int64_t end, int number);
// Writes tuple.value back into the tuple of the same number in the region;
// false unless that tuple exists with tuple.type as its type.
bool WriteRecorderTuple(File& file, int64_t start, int64_t end, const RecorderTuple& tuple);

// Shorthands for the tuples the data file keeps pointers, counts and times in:
// integers are rewritten only into 32-bit tuples, date-times into type 6.
bool WriteRecorderInteger(File& file, int64_t start, int64_t end, int number, int64_t value);
bool WriteRecorderDateTime(File& file, int64_t start, int64_t end, int number,
                           const RecorderDateTime& value);

}  // namespace tessaro
