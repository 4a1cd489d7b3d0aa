#include "core/collect/RingCatalog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/collect/DataFileInfo.h"
#include "core/recorder/RecorderReply.h"
#include "core/line/LineFacade.h"
#include "core/support/DateTime.h"
#include "core/support/DefinitionDb.h"
#include "core/support/Messages.h"
#include "core/support/Pump.h"

namespace tessaro {
namespace {

constexpr int kTextLength = 16;
constexpr int kClockLength = 12;

struct ReadFailure {
  int message;
};

class CatalogReader {
 public:
  explicit CatalogReader(LineContext& line) : line_(line) {}

  // The reply of a command; throws with failure when the line fails.
  std::string Ask(const std::string& command, int failure) {
    std::string reply;
    if (!LineCommand(line_, command, reply)) throw ReadFailure{failure};
    return reply;
  }
  // The same, a refusal ("??") failing too.
  std::string AskPresent(const std::string& command, int failure) {
    std::string reply = Ask(command, failure);
    if (IsRefusal(reply)) throw ReadFailure{failure};
    return reply;
  }
  std::string File(int ring, int tuple, int failure) {
    return Ask("filer" + std::to_string(ring + 1) + "," + std::to_string(tuple), failure);
  }
  std::string FilePresent(int ring, int tuple, int failure) {
    return AskPresent("filer" + std::to_string(ring + 1) + "," + std::to_string(tuple), failure);
  }
  // The first tuple of a per-channel series: the newer base, else the older.
  int SeriesBase(int ring, int newer, int older, int failure) {
    if (!IsRefusal(File(ring, newer, failure))) return newer;
    FilePresent(ring, older, failure);
    return older;
  }

  RingEntry ReadRing(int ring);

 private:
  LineContext& line_;
};

std::string Cut(const std::string& text, size_t length) { return text.substr(0, length); }

RingEntry CatalogReader::ReadRing(int r) {
  RingEntry entry;
  const int64_t dataCount = ReplyInteger(File(r, 802, MsgDataCountReadFailed));
  entry.byteCount = ReplyInteger(File(r, 806, MsgByteCountReadFailed));
  entry.dataCount = dataCount + (entry.byteCount > 0 ? 1 : 0);

  // The data file's analysis takes a count outside 1..32 as 1; the record
  // size worked out here must agree with it.
  int64_t channels = ReplyInteger(File(r, 202, MsgChannelCountReadFailed));
  if (channels < 1 || channels > kMaxChannels) channels = 1;

  const int modeBase = SeriesBase(r, 2000, 240, MsgModeReadFailed);
  for (int c = 0; c < channels; ++c)
    entry.modes.push_back(
        static_cast<int>(ReplyInteger(FilePresent(r, modeBase + c, MsgModeReadFailed))));

  const int sizeBase = SeriesBase(r, 2300, 860, MsgSizeReadFailed);
  const int baseSize = static_cast<int>(ReplyInteger(File(r, sizeBase, MsgSizeReadFailed)));
  for (int c = 0; c < channels; ++c) {
    const std::string reply = File(r, sizeBase + c, MsgSizeReadFailed);
    entry.sizes.push_back(IsRefusal(reply) ? baseSize : static_cast<int>(ReplyInteger(reply)));
  }

  std::string interval = File(r, 260, MsgIntervalReadFailed);
  if (IsRefusal(interval)) interval = FilePresent(r, 3000, MsgIntervalReadFailed);
  entry.interval = static_cast<int>(ReplyInteger(interval));

  entry.startText = Cut(File(r, 800, MsgStartTimeReadFailed), kClockLength);
  entry.stopText = Cut(File(r, 801, MsgStopTimeReadFailed), kClockLength);

  for (int k = 0; k < 4; ++k) {
    std::string memo;
    const std::string command = "filer" + std::to_string(r + 1) + "," + std::to_string(620 + k);
    // A memo is optional: a failed or refused read leaves it empty.
    if (LineCommand(line_, command, memo) && !IsRefusal(memo))
      entry.memos[k] = Cut(memo, kTextLength);
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
  LinePurge(line);
  if (!LineCheck(line)) return StepResult::Failure(LoadMessage(MsgLineCheckFailed));

  CatalogReader reader(line);
  try {
    const std::string rings = reader.Ask("romr108", MsgMaxRingCountReadFailed);
    info.ringCount = IsRefusal(rings)
                         ? 1
                         : static_cast<int>(std::clamp<int64_t>(ReplyInteger(rings), 0, 0xFFFF));
    info.version = Cut(reader.Ask("ver", MsgVersionReadFailed), kTextLength);
    info.serial = Cut(reader.AskPresent("eepr210", MsgSerialReadFailed), kTextLength);
    info.dataAreaSize = ReplyInteger(reader.AskPresent("romr107", MsgDataAreaSizeReadFailed));

    const int listed = std::min(info.ringCount, kMaxCollectableRings);
    for (int r = 0; r < listed; ++r) {
      progress.SetPercent(r * 100 / listed);
      PumpMessages();
      if (progress.CancelRequested()) return StepResult::Failure(LoadMessage(MsgCancelPressed));
      info.rings.push_back(reader.ReadRing(r));
    }
  } catch (const ReadFailure& failure) {
    return StepResult::Failure(LoadMessage(failure.message));
  }
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
