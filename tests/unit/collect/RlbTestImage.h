#pragma once
// Builds RLB files for tests byte by byte from the file layout, without the
// program's writer, so that the reader is checked against the format itself.
//
//   RlbTestImage img;                        // one ring, two channels
//   img.group.Int16(202, 2);                 // edit the ring's group tuples
//   std::string bytes = img.Build();

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tessaro::test {

// One area of recorder tuples, big-endian, starting with tuple 0.
class RecorderArea {
 public:
  RecorderArea() { Raw(0, 5, 1, 32, std::string(32, '\0')); }

  // A tuple with the given header and value bytes (already big-endian). The
  // length byte is 6 + value size unless given.
  RecorderArea& Raw(int number, int type, int elementSize, int count, const std::string& value,
                    int length = -1) {
    Tuple t{number, type, elementSize, count, value, length};
    tuples_.erase(std::remove_if(tuples_.begin(), tuples_.end(),
                                 [&](const Tuple& o) { return o.number == number; }),
                  tuples_.end());
    tuples_.push_back(t);
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

// A whole RLB file. Defaults: one ring of two 2-byte channels (modes 1 and
// 2, data type 1), interval 1001 (1 s), three records, started
// 26/12/08 10:00:00.
struct RlbTestImage {
  std::string version = "CVX-100 V1.23";
  int model = 1234;
  int subModel = 5;
  int romVersion = 300;
  std::string collectionTime = {0x12, 0x26, 0x10, 0x08, 0x45, 0x23};
  int ringTableSize = 32;
  int storedRings = 1;

  RecorderArea rom;
  RecorderArea eep;
  RecorderArea batt;                 // FILE pointers are filled in by Build()
  std::vector<RecorderArea> groups;  // ring groups, group n at FILE pointer of ring n
  std::string ringData;              // the ring data area
  // Start pointer of ring 0, from the ring data area start (tuple 880);
  // -1 leaves what the group holds.
  int64_t startPointer = 0;
  // Ring table entries; by default entry n points at group n, the rest zero.
  std::map<int, int64_t> ringTableOverride;
  std::string trailer = "";  // bytes after the end marker

  static constexpr size_t kAreaPad = 128;
  static constexpr size_t kGroupSpacing = 2048;
  static constexpr size_t kBattTuplePart = 1024;

  RlbTestImage() {
    rom.Int16(100, 1234).Int16(101, 5).Int32(107, 100000);
    eep.Text(210, "SN-0001").Text(211, "2026/01/15");
    batt.Text(620, "batt memo");
    groups.emplace_back();
    auto& g = groups[0];
    g.Int16(202, 2)
        .Int16(2000, 1)
        .Int16(2001, 2)
        .Int16(3000, 1001)
        .Int16(3001, 1001)
        .Int16(2100, 0)
        .Int16(2101, -1)
        .Int16(2200, 1)
        .Int16(2201, 1)
        .Int16(2300, 2)
        .Int16(2301, 2)
        .DateTime(800, 26, 12, 8, 10, 0, 0)
        .DateTime(801, 26, 12, 8, 10, 0, 2)
        .Int32(802, 2)
        .Int32(806, 12)
        .Text(620, "memo one", 7)
        .Text(627, "memo eight", 7);
    // Records 0..2: channel 0 = 100 + e, channel 1 = -(e + 1).
    for (int e = 0; e < 3; ++e) {
      ringData += RecorderArea::Big(static_cast<uint32_t>(100 + e), 2);
      ringData += RecorderArea::Big(static_cast<uint32_t>(-(e + 1)), 2);
    }
  }

  // Offsets found while building.
  int64_t romOffset = 0, eepOffset = 0, battOffset = 0, dataStart = 0, dataEnd = 0;

  static void PutLe(std::string& s, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
      s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
  }
  static std::string Le(uint32_t v, int bytes) {
    std::string s(static_cast<size_t>(bytes), '\0');
    PutLe(s, 0, v, bytes);
    return s;
  }
  static std::string FileTuple(int number, int elementSize, int count, const std::string& data) {
    return Le(static_cast<uint32_t>(number), 2) +
           Le(static_cast<uint32_t>(elementSize * count + 5), 4) +
           std::string(1, static_cast<char>(elementSize)) + Le(static_cast<uint32_t>(count), 4) +
           data;
  }

  std::string Build() {
    // Header size is fixed by the layout: fourteen tuples with data, and 23.
    const size_t headerSize = 11 * 15 + 2 + 32 + 2 + 2 + 2 + 32 + 6 + 2 + 4 * 3 +
                              4 * static_cast<size_t>(ringTableSize) + 4 + 4;
    romOffset = static_cast<int64_t>(headerSize);
    const std::string romBytes = rom.Bytes(kAreaPad);
    const std::string eepBytes = eep.Bytes(kAreaPad);
    eepOffset = romOffset + static_cast<int64_t>(romBytes.size());
    battOffset = eepOffset + static_cast<int64_t>(eepBytes.size());

    RecorderArea b = batt;
    for (size_t n = 0; n < groups.size(); ++n)
      b.Int32(640 + static_cast<int>(n), static_cast<int64_t>(kBattTuplePart + n * kGroupSpacing));
    std::string battBytes = b.Bytes(kBattTuplePart);
    for (size_t n = 0; n < groups.size(); ++n) {
      RecorderArea g = groups[n];
      if (n == 0 && startPointer >= 0) g.Int32(880, startPointer);
      if (n == 0 && startPointer >= 0) g.Int32(881, static_cast<int64_t>(ringData.size()));
      battBytes += g.Bytes(kGroupSpacing);
    }
    dataStart = battOffset + static_cast<int64_t>(battBytes.size());
    dataEnd = dataStart + static_cast<int64_t>(ringData.size());

    std::string table(4 * static_cast<size_t>(ringTableSize), '\0');
    for (size_t n = 0; n < groups.size() && n < 32 && n < static_cast<size_t>(ringTableSize); ++n)
      PutLe(table, 4 * n,
            static_cast<uint32_t>(battOffset +
                                  static_cast<int64_t>(kBattTuplePart + n * kGroupSpacing)),
            4);
    for (auto [n, v] : ringTableOverride)
      PutLe(table, 4 * static_cast<size_t>(n), static_cast<uint32_t>(v), 4);

    std::string versionText = version;
    versionText.resize(32, '\0');
    std::string out;
    out += FileTuple(10, 2, 1, Le(0, 2));
    out += FileTuple(11, 1, 32, versionText);
    out += FileTuple(12, 2, 1, Le(static_cast<uint32_t>(model), 2));
    out += FileTuple(13, 2, 1, Le(static_cast<uint32_t>(subModel), 2));
    out += FileTuple(14, 2, 1, Le(static_cast<uint32_t>(romVersion), 2));
    out += FileTuple(15, 1, 32, std::string(32, '\0'));
    out += FileTuple(16, 6, 1, collectionTime);
    out += FileTuple(17, 2, 1, Le(static_cast<uint32_t>(storedRings), 2));
    out += FileTuple(18, 4, 1, Le(static_cast<uint32_t>(romOffset), 4));
    out += FileTuple(19, 4, 1, Le(static_cast<uint32_t>(eepOffset), 4));
    out += FileTuple(20, 4, 1, Le(static_cast<uint32_t>(battOffset), 4));
    out += FileTuple(21, 4, ringTableSize, table);
    out += FileTuple(22, 4, 1, Le(static_cast<uint32_t>(dataStart), 4));
    out += FileTuple(24, 4, 1, Le(static_cast<uint32_t>(dataEnd), 4));
    // Tuple 23: length 9, count = data block size, no data of its own.
    out += Le(23, 2) + Le(9, 4) + std::string(1, '\4') +
           Le(static_cast<uint32_t>(dataEnd - romOffset), 4);
    if (out.size() != headerSize) return {};  // the layout arithmetic above is wrong
    out += romBytes + eepBytes + battBytes + ringData;
    out += Le(0xFFFF, 2) + Le(5, 4) + std::string(1, '\1') + Le(0, 4);
    out += trailer;
    return out;
  }
};

}  // namespace tessaro::test
