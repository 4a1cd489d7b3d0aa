#pragma once
// An area of recorder tuples (ROM, EEP, BATT or a ring's group) built byte
// by byte for tests; tuples can be replaced, removed or given odd headers.
//
//   RecorderArea group;
//   group.Int16(202, 2).DateTime(800, 26, 12, 8, 10, 0, 0).Remove(202);
//   std::string bytes = group.Bytes(2048);

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/support/DateTime.h"

namespace tessaro {

// One area of recorder tuples, big-endian, starting with tuple 0.
class RecorderArea {
 public:
  RecorderArea() { Raw(0, 5, 1, 32, std::string(32, '\0')); }

  // A tuple with the given header and value bytes (already big-endian). The
  // length byte is 6 + value size unless given.
  RecorderArea& Raw(int number, int type, int elementSize, int count, const std::string& value,
                    int length = -1) {
    Remove(number);
    tuples_.push_back({number, type, elementSize, count, value, length});
    return *this;
  }
  RecorderArea& Int16(int number, int value, int type = 1) {
    return Raw(number, type, 2, 1, Big(static_cast<uint32_t>(value), 2));
  }
  RecorderArea& Int32(int number, int64_t value) {
    return Raw(number, 2, 4, 1, Big(static_cast<uint32_t>(value), 4));
  }
  // YY MM DD hh mm ss as BCD, big-endian words.
  RecorderArea& DateTime(int number, int yy, int mo, int dd, int hh, int mi, int ss) {
    return Raw(number, 6, 6, 1, DateTimeBytes(yy, mo, dd, hh, mi, ss));
  }
  RecorderArea& DateTime(int number, const RecorderDateTime& time) {
    return Raw(number, 6, 6, 1, StoredDateTime(time));
  }
  RecorderArea& Text(int number, const std::string& text, int type = 5) {
    const size_t size = type == 5 ? 32 : 16;
    std::string v = text.substr(0, size);
    v.resize(size, '\0');
    return Raw(number, type, 1, static_cast<int>(size), v);
  }
  RecorderArea& Remove(int number) {
    tuples_.erase(std::remove_if(tuples_.begin(), tuples_.end(),
                                 [&](const Tuple& o) { return o.number == number; }),
                  tuples_.end());
    return *this;
  }

  // The area: the tuples, FFFF, then padding to `padTo` bytes when given.
  std::string Bytes(size_t padTo = 0) const {
    std::string out;
    for (const auto& t : tuples_) {
      std::string value = t.value;
      const int length = t.length >= 0 ? t.length : static_cast<int>(6 + value.size());
      out += static_cast<char>(t.number >> 8);
      out += static_cast<char>(t.number & 0xFF);
      out += static_cast<char>(length);
      out += static_cast<char>(t.type);
      out += static_cast<char>(t.elementSize);
      out += static_cast<char>(t.count);
      out += value;
      // A length that is not the natural one leaves a gap (or an overlap).
      if (length > static_cast<int>(6 + value.size()))
        out.append(static_cast<size_t>(length) - 6 - value.size(), '\x55');
    }
    out += "\xFF\xFF";
    if (out.size() < padTo) out.append(padTo - out.size(), '\x1A');
    return out;
  }

  static std::string Big(uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
  }
  static char Bcd(int v) { return static_cast<char>(((v / 10) << 4) | (v % 10)); }
  static std::string DateTimeBytes(int yy, int mo, int dd, int hh, int mi, int ss) {
    return {Bcd(yy), Bcd(mo), Bcd(dd), Bcd(hh), Bcd(mi), Bcd(ss)};
  }
  // A time as the recorder stores it; the program holds it as MM YY hh DD ss mm.
  static std::string StoredDateTime(const RecorderDateTime& t) {
    const auto c = [&](size_t i) { return static_cast<char>(t[i]); };
    return {c(1), c(0), c(3), c(2), c(5), c(4)};
  }

 private:
  struct Tuple {
    int number;
    int type;
    int elementSize;
    int count;
    std::string value;
    int length;
  };
  std::vector<Tuple> tuples_;
};

}  // namespace tessaro
