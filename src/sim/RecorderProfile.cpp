#include "sim/RecorderProfile.h"

namespace tessaro::sim {

int RingProfile::RecordSize() const {
  int size = 0;
  for (const ChannelProfile& channel : channels) size += channel.bytes;
  return size;
}

RecorderProfile DefaultProfile() {
  RecorderProfile p;
  const std::vector<ChannelProfile> analogue{
      {1, 304, -3, 1, 2}, {2, 304, -1, 1, 2}, {3, 304, -1, 1, 2}, {1, 304, 0, 1, 2}};

  RingProfile newest;
  newest.channels = analogue;
  newest.records = 5000;
  newest.start = {2026, 12, 1, 9, 0, 0};
  newest.memos = {"NEW RING", "RIVER GAUGE", "", "OPERATOR K"};
  p.rings.push_back(newest);

  RingProfile older = newest;
  older.records = 3000;
  older.start = {2026, 11, 20, 8, 0, 0};
  older.memos = {"OLD RING 1"};
  p.rings.push_back(older);

  RingProfile pulses;
  pulses.channels = {{120, 400, 0, 10, 2}, {300, 400, 0, 21, 2}};
  pulses.records = 1200;
  pulses.start = {2026, 11, 1, 0, 0, 0};
  pulses.memos = {"PULSE COUNTER"};
  p.rings.push_back(pulses);

  RingProfile empty;
  empty.channels = {{1, 304, -1, 1, 2}};
  empty.records = 0;
  empty.start = {2026, 10, 1, 0, 0, 0};
  p.rings.push_back(empty);
  return p;
}

std::string CheckProfile(const RecorderProfile& p) {
  if (p.rings.size() > 100) return "at most 100 rings";
  if (p.maxChannels < 1 || p.maxChannels > 32) return "MaxChannels must be 1..32";
  if (p.oldNumbering && p.maxChannels > 20)
    return "MaxChannels must be 1..20 with the old numbering";
  if (p.dataAreaSize < 1 || p.dataAreaSize > (64 << 20)) return "DataAreaSize must be 1..64 MiB";
  if (p.dataStart < 0) return "DataStart must not be negative";
  if (p.fileStride < 0) return "FileStride must not be negative";
  if (p.userMemos.size() > 16) return "at most 16 user memos";
  if (p.channelModeLists.size() > 32) return "at most 32 channel mode lists";
  const int maxSeries = p.oldNumbering ? 20 : 32;
  for (size_t r = 0; r < p.rings.size(); ++r) {
    const RingProfile& ring = p.rings[r];
    const std::string where = "ring " + std::to_string(r) + ": ";
    if (ring.channels.empty() || static_cast<int>(ring.channels.size()) > maxSeries) {
      return where + "channel count must be 1.." + std::to_string(maxSeries);
    }
    for (const ChannelProfile& c : ring.channels) {
      if (c.bytes < 1) return where + "bytes per record must be at least 1";
    }
    if (ring.RecordSize() > 1024) return where + "record size above 1024 bytes";
    if (ring.records < 0) return where + "negative record count";
    if (ring.records * ring.RecordSize() > (256 << 20)) return where + "more than 256 MiB of data";
    if (ring.memos.size() > 8) return where + "at most 8 memos";
    if (ring.batteryLowRecord &&
        (*ring.batteryLowRecord < 0 || *ring.batteryLowRecord >= ring.records)) {
      return where + "battery-LOW record outside the ring";
    }
  }
  return {};
}

}  // namespace tessaro::sim
