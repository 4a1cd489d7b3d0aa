#include "sim/RecordGenerator.h"

#include "sim/SimCalendar.h"

namespace tessaro::sim {

namespace {

std::vector<uint8_t> BigEndian(uint64_t value, int width) {
  std::vector<uint8_t> bytes(static_cast<size_t>(width));
  for (int i = 0; i < width; ++i)
    bytes[static_cast<size_t>(width - 1 - i)] = static_cast<uint8_t>(value >> (8 * i));
  return bytes;
}

bool IsDirection(const ChannelProfile& c) {
  return c.mode == 159 || (c.dataType >= 150 && c.dataType <= 153);
}

// The value in its natural width, before it is fitted to the channel's bytes.
std::vector<uint8_t> NaturalValue(const ChannelProfile& c, const DateTimeFields& time,
                                  int ringIndex, int channel, int64_t e) {
  const int64_t seed = e * (channel + 3) * 37 + ringIndex * 101 + channel * 997;
  if (c.mode == 138 || c.dataType == 6) {
    // A pulse time: a few seconds into the record's interval.
    return DateTimeBytes(FieldsFromSeconds(CalendarSeconds(time) + e % 7));
  }
  if (c.mode >= 600 && c.mode <= 607) {
    const int speed = e % 20 == 0 ? 0 : static_cast<int>((e * 13 + channel * 7 + ringIndex) % 1000);
    const int direction = static_cast<int>(1 + e % 16);
    const bool missing = e % 50 == 49;
    switch (c.mode) {
      case 603:
      case 604:
      case 605:
        return {static_cast<uint8_t>(e % 17 | (missing ? 0x80 : 0)), 0};
      case 607:
        return BigEndian(static_cast<uint64_t>((e * 11 + channel) % 3000), 2);
      default: {
        std::vector<uint8_t> v{static_cast<uint8_t>((speed >> 3) | (missing ? 0x80 : 0)),
                               static_cast<uint8_t>(((speed & 7) << 5) | direction)};
        if (c.mode == 602 || c.mode == 606) {
          v.push_back(ToBcd(time.hour));
          v.push_back(ToBcd(time.minute));
          v.push_back(ToBcd(time.second));
        }
        return v;
      }
    }
  }
  if (IsDirection(c)) return BigEndian(static_cast<uint64_t>(e % 18), 2);
  switch (c.dataType) {
    case 23:  // day byte (lowest bit set), then hour, minute, second
      return {0x01, ToBcd(time.hour), ToBcd(time.minute), ToBcd(time.second)};
    case 2:
      return BigEndian(static_cast<uint64_t>(seed % 2000001 - 1000000), 4);
    case 10:
      return BigEndian(static_cast<uint64_t>(seed % 60000), 2);
    case 21:
      return BigEndian(static_cast<uint64_t>(seed * 2654435761LL), 2);
    default:
      return BigEndian(static_cast<uint64_t>(seed % 4001 - 2000), 2);
  }
}

}  // namespace

DateTimeFields RecordTime(const RingProfile& ring, int64_t record) {
  const int code = ring.channels.empty() ? 0 : ring.channels[0].interval;
  return FieldsFromSeconds(CalendarSeconds(ring.start) + IntervalSpan(code, record));
}

std::vector<uint8_t> GenerateChannelValue(const RingProfile& ring, int ringIndex, int channel,
                                          int64_t record) {
  const ChannelProfile& c = ring.channels[static_cast<size_t>(channel)];
  std::vector<uint8_t> value =
      NaturalValue(c, RecordTime(ring, record), ringIndex, channel, record);
  value.resize(static_cast<size_t>(c.bytes), 0);
  return value;
}

std::vector<uint8_t> GenerateRecord(const RingProfile& ring, int ringIndex, int64_t record) {
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(ring.RecordSize()));
  for (size_t c = 0; c < ring.channels.size(); ++c) {
    const std::vector<uint8_t> value =
        GenerateChannelValue(ring, ringIndex, static_cast<int>(c), record);
    bytes.insert(bytes.end(), value.begin(), value.end());
  }
  return bytes;
}

}  // namespace tessaro::sim
