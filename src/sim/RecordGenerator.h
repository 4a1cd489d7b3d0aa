#pragma once
// Deterministic measurement records for the simulated rings, stored as a
// recorder stores them (big-endian values, packed-BCD times, wind words).
// The same ring, record and channel always give the same bytes, so tests
// can compute the data a collection must produce.

#include <cstdint>
#include <vector>

#include "core/support/DateTime.h"
#include "sim/RecorderProfile.h"

namespace tessaro::sim {

// Start time plus record × channel 0's interval.
DateTimeFields RecordTime(const RingProfile& ring, int64_t record);

// One channel's stored bytes (channel.bytes of them).
std::vector<uint8_t> GenerateChannelValue(const RingProfile& ring, int ringIndex, int channel,
                                          int64_t record);

// The whole record, channels in order (RecordSize() bytes).
std::vector<uint8_t> GenerateRecord(const RingProfile& ring, int ringIndex, int64_t record);

}  // namespace tessaro::sim
