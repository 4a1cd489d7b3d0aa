#include "core/collect/RingCatalog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/collect/DataFileInfo.h"
#include "core/recorder/RecorderReply.h"
#include "core/recorder/RecorderSession.h"
#include "core/recorder/TupleNumbers.h"
#include "core/support/DateTime.h"
#include "core/support/DefinitionDb.h"
#include "core/support/Messages.h"
#include "core/support/Pump.h"

namespace tessaro {
namespace {

constexpr int kTextLength = 16;
constexpr int kClockLength = 12;

// Reads the values of the rings' FILE groups.
class CatalogReader {
 public:
  explicit CatalogReader(RecorderSession& session) : session_(session) {}

  RingEntry ReadRing(int ring);

 private:
  std::string Value(int number, int failure) { return session_.ReadTuple(group_, number, failure); }
  int64_t Integer(int number, int failure) { return ReplyInteger(Value(number, failure)); }
  int64_t PresentInteger(int number, int failure) {
    return ReplyInteger(session_.ReadTupleRequired(group_, number, failure));
  }
  // The first tuple of a per-channel series: the newer base, else the older.
  int SeriesBase(tuples::Series series, int failure) {
    if (!IsRefusal(Value(series.newer, failure))) return series.newer;
    session_.ReadTupleRequired(group_, series.older, failure);
    return series.older;
  }

  RecorderSession& session_;
  Area group_ = Area::File(1);
};

std::string Cut(const std::string& text, size_t length) { return text.substr(0, length); }

RingEntry CatalogReader::ReadRing(int r) {
  using namespace tuples;
  group_ = Area::File(r + 1);
  RingEntry entry;
  const int64_t dataCount = Integer(kDataCount, MsgDataCountReadFailed);
  entry.byteCount = Integer(kByteCount, MsgByteCountReadFailed);
  entry.dataCount = dataCount + (entry.byteCount > 0 ? 1 : 0);

  // The data file's analysis takes a count outside 1..32 as 1; the record
  // size worked out here must agree with it.
  int64_t channels = Integer(kChannelCount, MsgChannelCountReadFailed);
  if (channels < 1 || channels > kMaxChannels) channels = 1;

  const int modeBase = SeriesBase(kModeSeries, MsgModeReadFailed);
  for (int c = 0; c < channels; ++c)
    entry.modes.push_back(static_cast<int>(PresentInteger(modeBase + c, MsgModeReadFailed)));

  const int sizeBase = SeriesBase(kSizeSeries, MsgSizeReadFailed);
  const int baseSize = static_cast<int>(Integer(sizeBase, MsgSizeReadFailed));
  for (int c = 0; c < channels; ++c) {
    const std::string reply = Value(sizeBase + c, MsgSizeReadFailed);
    entry.sizes.push_back(IsRefusal(reply) ? baseSize : static_cast<int>(ReplyInteger(reply)));
  }

  std::string interval = Value(kIntervalSeries.older, MsgIntervalReadFailed);
  if (IsRefusal(interval))
    interval = session_.ReadTupleRequired(group_, kIntervalSeries.newer, MsgIntervalReadFailed);
  entry.interval = static_cast<int>(ReplyInteger(interval));

  entry.startText = Cut(Value(kStartTime, MsgStartTimeReadFailed), kClockLength);
  entry.stopText = Cut(Value(kStopTime, MsgStopTimeReadFailed), kClockLength);

  for (size_t k = 0; k < entry.memos.size(); ++k) {
    // A memo is optional: a failed or refused read leaves it empty.
    if (auto memo = session_.TryAsk(group_.ReadCommand(kMemo + static_cast<int>(k))))
      entry.memos[k] = Cut(*memo, kTextLength);
  }
  return entry;
}

}  // namespace

int RingEntry::RecordSize() const {
  int size = 0;
  for (int bytes : sizes) size += bytes;
  return size;
}

std::string RingName(int ring) {
  if (ring == 0) return "NEW";
  char name[16];
  std::snprintf(name, sizeof name, "OLD-%.2d", ring);
  return name;
}

std::optional<int> ParseRingName(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "NEW") return 0;
  if (upper.rfind("OLD-", 0) != 0 || upper.size() == 4 || upper.size() > 7) return std::nullopt;
  int ring = 0;
  for (size_t i = 4; i < upper.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(upper[i]))) return std::nullopt;
    ring = ring * 10 + (upper[i] - '0');
  }
  if (ring < 1) return std::nullopt;
  return ring;
}

StepResult ReadManagementInfo(LineContext& line, ProgressReporter& progress, RingInfo& info) {
  info = RingInfo{};
  progress.SetCaption(LoadMessage(MsgManagementCaption));
  progress.SetMessage(LoadMessage(MsgManagementReading));
  progress.SetPercent(0);
  RecorderSession session(line, progress);
  const StepResult result = RunOperation([&] {
    using namespace tuples;
    session.CheckLine();
    const std::string rings =
        session.ReadTuple(Area::Rom, kRomRingCount, MsgMaxRingCountReadFailed);
    info.ringCount = IsRefusal(rings)
                         ? 1
                         : static_cast<int>(std::clamp<int64_t>(ReplyInteger(rings), 0, 0xFFFF));
    info.version = Cut(session.Ask("ver", MsgVersionReadFailed), kTextLength);
    info.serial =
        Cut(session.ReadTupleRequired(Area::Eep, kEepSerial, MsgSerialReadFailed), kTextLength);
    info.dataAreaSize = ReplyInteger(
        session.ReadTupleRequired(Area::Rom, kRomDataAreaSize, MsgDataAreaSizeReadFailed));

    CatalogReader reader(session);
    const int listed = std::min(info.ringCount, kMaxCollectableRings);
    for (int r = 0; r < listed; ++r) {
      progress.SetPercent(r * 100 / listed);
      PumpMessages();
      session.CheckCancel();
      info.rings.push_back(reader.ReadRing(r));
    }
  });
  if (!result) return result;
  progress.SetPercent(100);
  return StepResult::Success();
}

RingPanel MakeRingPanel(const RingInfo& info, int ring, const DefinitionDb& db) {
  RingPanel panel;
  panel.version = info.version;
  panel.serial = info.serial;
  if (ring < 0 || ring >= static_cast<int>(info.rings.size())) return panel;
  const RingEntry& entry = info.rings[static_cast<size_t>(ring)];
  panel.ring = RingName(ring);
  panel.dataCount = std::to_string(entry.dataCount);
  panel.channelCount = std::to_string(entry.ChannelCount());
  panel.interval = db.IntervalText(entry.interval);
  panel.start = ExpandClockText(entry.startText);
  panel.stop = ExpandClockText(entry.stopText);
  panel.memos = entry.memos;
  return panel;
}

}  // namespace tessaro
