#include "core/graph/GraphChannel.h"

#include <cmath>
#include <cstring>

#include "core/collect/ChannelFormat.h"

namespace tessaro {
namespace {

bool IsWindDirectionMode(int mode) { return mode >= 603 && mode <= 605; }

GraphKind KindOf(const ChannelInfo& channel) {
  if (channel.mode == kModeDateTime || channel.dataType == 6 ||
      channel.dataType == kDataTypeTimeOfDay || channel.bytes < ChannelLayoutBytes(channel))
    return GraphKind::NotDrawn;
  if (IsWindDirectionMode(channel.mode)) return GraphKind::Direction;
  if (!IsWindMode(channel.mode) && IsWindDirectionChannel(channel)) return GraphKind::Direction;
  return GraphKind::Line;
}

int16_t Int16At(const uint8_t* value) {
  int16_t v;
  std::memcpy(&v, value, sizeof v);
  return v;
}

// Combined wind records keep their bytes as stored; bit 7 of b0 marks a
// missing value.
int32_t WindValue(const ChannelInfo& channel, const uint8_t* b) {
  if (b[0] & 0x80) return kMissingValue;
  switch (channel.mode) {
    case 603:
      return WindDirectionIndex(b[0] & 0x1F);
    case 604:
    case 605:
      return WindDirectionIndex(b[0] & 0x7F);
    case 607:
      return b[0] << 8 | b[1];
    default:  // 600, 601, 602, 606: the speed; its direction is not drawn
      return b[0] * 8 + (b[1] >> 5);
  }
}

}  // namespace

int32_t GraphChannel::Value(const ChannelInfo& info, const uint8_t* record) const {
  const uint8_t* value = record + info.offset;
  if (IsWindMode(info.mode)) return WindValue(info, value);
  if (kind == GraphKind::Direction) return WindDirectionIndex(Int16At(value));
  switch (info.dataType) {
    case 10:
    case 21:
      return static_cast<uint16_t>(Int16At(value));
    case 2:
      return info.bytes >= 4 ? StoredInt32(value) : Int16At(value);
    default:
      return Int16At(value);
  }
}

std::string GraphUnit(const ChannelInfo& channel) {
  const std::string& text = channel.textC;
  if (IsWindMode(channel.mode)) return text.substr(0, text.find("・"));
  const size_t unitStart = text.find_first_not_of("0123456789.");
  return unitStart == std::string::npos ? text : text.substr(unitStart);
}

GraphChannel DescribeGraphChannel(int index, const ChannelInfo& channel) {
  GraphChannel out;
  out.index = index;
  out.kind = KindOf(channel);
  out.legend = std::to_string(index + 1) + "CH";
  if (!channel.label.empty()) out.legend += " " + channel.label;
  if (!channel.textA.empty()) out.legend += " " + channel.textA;
  if (out.kind == GraphKind::Line) {
    out.unit = GraphUnit(channel);
    out.divisor = std::pow(10.0, -channel.decimals);
  }
  return out;
}

}  // namespace tessaro
