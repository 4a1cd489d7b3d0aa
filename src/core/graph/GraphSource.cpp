#include "core/graph/GraphSource.h"

#include "core/collect/ChannelFormat.h"
#include "core/collect/DataFileAnalysis.h"
#include "core/collect/RecordClock.h"
#include "core/support/MessageBox.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

GraphTimeline TimelineOf(const DataFileInfo& info) {
  GraphTimeline timeline;
  if (info.channels.empty() || info.channels[0].mode == kModeDateTime ||
      !DateTimeText(info.startTime))
    return timeline;
  const double step = IntervalSeconds(info.channels[0].interval);
  if (!(step > 0)) return timeline;
  timeline.hasTime = true;
  timeline.origin = static_cast<double>(DateTimeSeconds(info.startTime));
  timeline.step = step;
  return timeline;
}

}  // namespace

GraphSource::GraphSource(int fanOut) : pyramid_(fanOut) {}

GraphSource::~GraphSource() = default;

bool GraphSource::Open(const std::string& rlbPath, const DefinitionDb& db,
                       const std::string& workFolder) {
  info_ = DataFileInfo{};
  info_.rlbPath = rlbPath;
  if (!AnalyseDataFile(info_, db, workFolder)) return false;
  reader_ = std::make_unique<RecordReader>(info_);
  channels_.clear();
  for (int c = 0; c < info_.ChannelCount(); ++c) {
    GraphChannel channel = DescribeGraphChannel(c, info_.channels[static_cast<size_t>(c)]);
    if (channel.kind != GraphKind::NotDrawn) channels_.push_back(std::move(channel));
  }
  timeline_ = TimelineOf(info_);
  if (!pyramid_.Build(*this)) {
    ShowError(LoadMessage(MsgGraphReadFailed));
    return false;
  }
  return true;
}

bool GraphSource::Read(int64_t record, int32_t* values) {
  if (!reader_ || !reader_->Read(record, record_)) return false;
  for (size_t i = 0; i < channels_.size(); ++i)
    values[i] =
        channels_[i].Value(info_.channels[static_cast<size_t>(channels_[i].index)], record_.data());
  return true;
}

bool GraphSource::BuildSeries(int64_t begin, int64_t end, int columns,
                              std::vector<GraphSeries>& out) {
  out.clear();
  if (!columns_.Reduce(*this, pyramid_, begin, end, columns)) return false;
  for (int s = 0; s < SeriesCount(); ++s)
    out.push_back(
        BuildGraphSeries(columns_, s, channels_[static_cast<size_t>(s)].divisor, timeline_));
  return true;
}

std::string GraphSource::CursorText(int64_t record) {
  if (!reader_ || !reader_->Read(record, record_)) return {};
  std::string text = "No." + std::to_string(record + 1);
  if (timeline_.hasTime) {
    RecordClock clock(info_.startTime, info_.channels[0].interval);
    text += " " + clock.Text(record);
  }
  for (const GraphChannel& channel : channels_) {
    const ChannelInfo& info = info_.channels[static_cast<size_t>(channel.index)];
    text += "  " + channel.legend + " " +
            FormatChannelValue(info, record_.data() + info.offset, ValueStyle::Plain,
                               info_.calmThreshold);
  }
  return text;
}

}  // namespace tessaro
