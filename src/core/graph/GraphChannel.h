#pragma once
// How one channel of a recorder data file appears in the graph: as a line of
// values, as direction points on the 0..16 scale (north 0 .. north-north-west
// 15, calm 16), or not at all (date-time channels, channels too narrow for
// their layout). Values are the stored integers; divided by divisor they
// are the numbers the CSV files show.

#include <cstdint>
#include <limits>
#include <string>

#include "core/collect/DataFileInfo.h"

namespace tessaro {

enum class GraphKind { Line, Direction, NotDrawn };

// A record holds no value for the channel (a missing wind value).
inline constexpr int32_t kMissingValue = std::numeric_limits<int32_t>::min();

struct GraphChannel {
  int index = 0;  // channel index in the file, from 0
  GraphKind kind = GraphKind::Line;
  std::string legend;  // "1CH TEMP 温度"
  std::string unit;    // axis text; channels of one unit share an axis
  double divisor = 1;  // value = stored integer / divisor (10 per decimal place)

  // The stored integer of this channel in a record in host byte order, or
  // kMissingValue. Combined wind channels draw their speed.
  int32_t Value(const ChannelInfo& info, const uint8_t* record) const;
};

GraphChannel DescribeGraphChannel(int index, const ChannelInfo& channel);

// The unit of a channel from its mode's texts: text C without its leading
// resolution ("0.1℃" -> "℃"), the speed part of a wind mode ("風速・風向"
// -> "風速"); empty when the mode is unknown.
std::string GraphUnit(const ChannelInfo& channel);

}  // namespace tessaro
