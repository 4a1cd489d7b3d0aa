#include "support/TestRlbFile.h"

#include <fstream>

namespace tessaro {
namespace {

void PutLe(std::string& s, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

std::string Le(uint32_t v, int bytes) {
  std::string s(static_cast<size_t>(bytes), '\0');
  PutLe(s, 0, v, bytes);
  return s;
}

std::string FileTuple(int number, int elementSize, int count, const std::string& data) {
  return Le(static_cast<uint32_t>(number), 2) +
         Le(static_cast<uint32_t>(elementSize * count + 5), 4) +
         std::string(1, static_cast<char>(elementSize)) + Le(static_cast<uint32_t>(count), 4) +
         data;
}

std::string Text(const std::string& text) {
  std::string s = text.substr(0, 32);
  s.resize(32, '\0');
  return s;
}

RecorderArea GroupOf(const TestRlb& ring, int64_t recordSize) {
  RecorderArea g;
  const auto n = static_cast<int64_t>(ring.records.size());
  const auto channels = static_cast<int>(ring.channels.size());
  g.Int16(202, channels);
  const auto series = [&](int base, int TestChannel::*field) {
    g.Int16(base, ring.channels.empty() ? 0 : ring.channels[0].*field);
    for (int c = 1; c < channels; ++c) g.Int16(base + c, ring.channels[c].*field);
  };
  series(2000, &TestChannel::mode);
  series(3000, &TestChannel::interval);
  series(2100, &TestChannel::decimals);
  series(2200, &TestChannel::dataType);
  series(2300, &TestChannel::bytes);
  for (int k = 0; k < 8; ++k)
    if (!ring.memos[k].empty()) g.Text(620 + k, ring.memos[k]);
  g.DateTime(800, ring.start);
  g.DateTime(801, ring.stop);
  if (ring.hasBatteryLow) g.DateTime(805, ring.batteryLow);
  // The data count excludes the record in progress; the byte count covers all.
  g.Int32(802, n > 0 ? n - 1 : 0);
  g.Int32(806, n * recordSize);
  g.Int32(880, ring.rotation * recordSize);
  g.Int32(881, n * recordSize);
  return g;
}

}  // namespace

TestRlbFile::TestRlbFile() {
  rom.Int16(100, 1234).Int16(101, 5).Int32(107, 100000);
  eep.Text(210, "SN-0001").Text(211, "2026/01/15");
  batt.Text(620, "batt memo");
  groups.emplace_back();
  groups[0]
      .Int16(202, 2)
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
  for (int e = 0; e < 3; ++e) {
    ringData += RecorderArea::Big(static_cast<uint32_t>(100 + e), 2);
    ringData += RecorderArea::Big(static_cast<uint32_t>(-(e + 1)), 2);
  }
}

TestRlbFile::TestRlbFile(const TestRlb& ring)
    : version(ring.version),
      model(ring.model),
      subModel(ring.subModel),
      romVersion(ring.romVersion),
      collectionTime(EncodeDateTime({2026, 12, 9, 8, 30, 0})),
      startPointer(-1) {
  int64_t recordSize = 0;
  for (const TestChannel& ch : ring.channels) recordSize += ch.bytes;
  rom.Int16(100, ring.model);
  if (ring.dataAreaSize >= 0) rom.Int32(107, ring.dataAreaSize);
  eep.Text(210, ring.serial);
  if (!ring.date.empty()) eep.Text(211, ring.date);
  groups.push_back(GroupOf(ring, recordSize));
  // Record i of the ring stands at slot (i + rotation) mod n.
  const size_t n = ring.records.size();
  ringData.reserve(n * static_cast<size_t>(recordSize));
  for (size_t slot = 0; slot < n; ++slot) {
    const auto& record = ring.records[(slot + n - static_cast<size_t>(ring.rotation) % n) % n];
    ringData.append(record.begin(), record.end());
  }
}

std::string TestRlbFile::Build() {
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
    if (n == 0 && startPointer >= 0) {
      g.Int32(880, startPointer);
      g.Int32(881, static_cast<int64_t>(ringData.size()));
    }
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

  std::string out;
  out += FileTuple(10, 2, 1, Le(0, 2));
  out += FileTuple(11, 1, 32, Text(version));
  out += FileTuple(12, 2, 1, Le(static_cast<uint32_t>(model), 2));
  out += FileTuple(13, 2, 1, Le(static_cast<uint32_t>(subModel), 2));
  out += FileTuple(14, 2, 1, Le(static_cast<uint32_t>(romVersion), 2));
  out += FileTuple(15, 1, 32, Text(""));
  out += FileTuple(16, 6, 1, std::string(collectionTime.begin(), collectionTime.end()));
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

bool TestRlbFile::Write(const std::string& path) {
  const std::string bytes = Build();
  if (bytes.empty()) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

std::vector<uint8_t> Be16(int value) {
  return {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

std::vector<uint8_t> Be32(int64_t value) {
  return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

std::vector<uint8_t> StoredDateTime(const DateTimeFields& fields) {
  const std::string stored = RecorderArea::StoredDateTime(EncodeDateTime(fields));
  return {stored.begin(), stored.end()};
}

std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace tessaro
