#include "support/TestRlbFile.h"

#include <algorithm>

#include "core/collect/RlbWriter.h"

namespace tessaro {
namespace {

constexpr size_t kBlock = 128;

// A recorder tuple area: tuples in the recorder's byte order, "0" first,
// FFFF last, padded to whole transfer blocks.
class AreaBuilder {
 public:
  AreaBuilder() { Integer(0, 0, 1); }

  void Integer(int number, int64_t value, int type = 2) {
    const int size = type == 2 ? 4 : 2;
    std::vector<uint8_t> v;
    for (int i = size - 1; i >= 0; --i) v.push_back(static_cast<uint8_t>(value >> (8 * i)));
    Add(number, type, size, 1, v, size == 4 ? 10 : 8);
  }
  void Text(int number, const std::string& text) {
    std::vector<uint8_t> v(32, 0);
    std::copy_n(text.begin(), std::min<size_t>(text.size(), 32), v.begin());
    Add(number, 5, 1, 32, v, 38);
  }
  void DateTime(int number, const RecorderDateTime& dt) {
    // Memory order MM YY hh DD ss mm; the recorder stores YY MM DD hh mm ss.
    Add(number, 6, 2, 3, {dt[1], dt[0], dt[3], dt[2], dt[5], dt[4]}, 12);
  }
  // Ends the area and pads it; offsets of later areas follow from the size.
  std::vector<uint8_t> Finish(size_t minimumSize = 0) {
    bytes_.push_back(0xFF);
    bytes_.push_back(0xFF);
    size_t size = std::max(bytes_.size(), minimumSize);
    size = (size + kBlock - 1) / kBlock * kBlock;
    bytes_.resize(size, 0x1A);
    return bytes_;
  }
  size_t Size() const { return bytes_.size(); }

 private:
  void Add(int number, int type, int elementSize, int count, const std::vector<uint8_t>& value,
           int length) {
    bytes_.push_back(static_cast<uint8_t>(number >> 8));
    bytes_.push_back(static_cast<uint8_t>(number));
    bytes_.push_back(static_cast<uint8_t>(length));
    bytes_.push_back(static_cast<uint8_t>(type));
    bytes_.push_back(static_cast<uint8_t>(elementSize));
    bytes_.push_back(static_cast<uint8_t>(count));
    bytes_.insert(bytes_.end(), value.begin(), value.end());
    bytes_.resize(bytes_.size() + (length - 6 - value.size()), 0);
  }
  std::vector<uint8_t> bytes_;
};

std::vector<uint8_t> GroupArea(const TestRlb& rlb, int64_t recordSize) {
  AreaBuilder g;
  const auto n = static_cast<int64_t>(rlb.records.size());
  const auto channels = static_cast<int>(rlb.channels.size());
  g.Integer(202, channels, 1);
  const auto series = [&](int base, int TestChannel::*field) {
    g.Integer(base, rlb.channels.empty() ? 0 : rlb.channels[0].*field, 1);
    for (int c = 1; c < channels; ++c) g.Integer(base + c, rlb.channels[c].*field, 1);
  };
  series(2000, &TestChannel::mode);
  series(3000, &TestChannel::interval);
  series(2100, &TestChannel::decimals);
  series(2200, &TestChannel::dataType);
  series(2300, &TestChannel::bytes);
  for (int k = 0; k < 8; ++k)
    if (!rlb.memos[k].empty()) g.Text(620 + k, rlb.memos[k]);
  g.DateTime(800, rlb.start);
  g.DateTime(801, rlb.stop);
  if (rlb.hasBatteryLow) g.DateTime(805, rlb.batteryLow);
  // The data count excludes the record in progress; the byte count covers all.
  g.Integer(802, n > 0 ? n - 1 : 0);
  g.Integer(806, n * recordSize);
  g.Integer(880, rlb.rotation * recordSize);
  g.Integer(881, n * recordSize);
  return g.Finish();
}

}  // namespace

bool WriteTestRlb(const std::string& path, const TestRlb& rlb) {
  int64_t recordSize = 0;
  for (const TestChannel& ch : rlb.channels) recordSize += ch.bytes;

  AreaBuilder rom;
  rom.Integer(100, rlb.model, 1);
  if (rlb.dataAreaSize >= 0) rom.Integer(107, rlb.dataAreaSize);
  AreaBuilder eep;
  eep.Text(210, rlb.serial);
  if (!rlb.date.empty()) eep.Text(211, rlb.date);
  // BATT area: the FILE pointer of ring 0, then the ring's group.
  constexpr int64_t kGroupOffset = 256;
  AreaBuilder batt;
  batt.Integer(640, kGroupOffset);
  std::vector<uint8_t> battBytes = batt.Finish(kGroupOffset);
  battBytes.resize(kGroupOffset, 0x1A);
  const std::vector<uint8_t> group = GroupArea(rlb, recordSize);
  battBytes.insert(battBytes.end(), group.begin(), group.end());

  // Ring data area: record i of the ring stands at slot (i + rotation) mod n.
  const size_t n = rlb.records.size();
  std::vector<uint8_t> ring;
  for (size_t slot = 0; slot < n; ++slot) {
    const size_t record = (slot + n - static_cast<size_t>(rlb.rotation) % n) % n;
    ring.insert(ring.end(), rlb.records[record].begin(), rlb.records[record].end());
  }

  const auto romBytes = rom.Finish();
  const auto eepBytes = eep.Finish();
  RlbWriter w;
  bool ok = w.Create(path) && w.WriteHeader(1) && w.SetFileType() && w.SetVersion(rlb.version) &&
            w.SetModel(rlb.model) && w.SetSubModel(rlb.subModel) &&
            w.SetRomVersion(rlb.romVersion) && w.SetFileMemo() &&
            w.SetCollectionTime(EncodeDateTime({2026, 12, 9, 8, 30, 0})) && w.BeginAreas() &&
            w.WriteBlock(romBytes.data(), romBytes.size()) && w.MarkEepArea() &&
            w.WriteBlock(eepBytes.data(), eepBytes.size()) && w.MarkBattArea() &&
            w.WriteBlock(battBytes.data(), battBytes.size()) && w.MarkRingDataArea();
  if (ok && !ring.empty()) ok = w.WriteBlock(ring.data(), ring.size());
  ok = ok && w.Finish(1, 1) == RlbWriter::FinishResult::Ok;
  return w.Close() && ok;
}

std::vector<uint8_t> Be16(int value) {
  return {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

std::vector<uint8_t> Be32(int64_t value) {
  return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

std::vector<uint8_t> StoredDateTime(const DateTimeFields& fields) {
  const RecorderDateTime dt = EncodeDateTime(fields);
  return {dt[1], dt[0], dt[3], dt[2], dt[5], dt[4]};
}

std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace tessaro
