#pragma once
// The recorder's management information: its identity and, for every ring
// that can be collected, the values the collection dialog lists and checks
// (counts, channels and their modes and sizes, interval, start and stop,
// memos), read with single-line commands before the dialog opens.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/collect/StepResult.h"
#include "core/support/ProgressReporter.h"

namespace tessaro {

class DefinitionDb;
class LineContext;

// Only rings 0..31 can be expressed in a ring mask; rings beyond are not
// listed.
inline constexpr int kMaxCollectableRings = 32;

struct RingEntry {
  int64_t dataCount = 0;   // records: tuple 802, plus 1 when the byte count is above 0
  int64_t byteCount = 0;   // tuple 806
  std::vector<int> modes;  // per channel (channel count entries, 1..32)
  std::vector<int> sizes;  // bytes per record, per channel
  int interval = 0;
  std::string startText;  // 12 digits YYMMDDhhmmss as the recorder sends them
  std::string stopText;
  std::array<std::string, 4> memos;  // at most 16 characters each

  int ChannelCount() const { return static_cast<int>(modes.size()); }
  int RecordSize() const;
};

struct RingInfo {
  int ringCount = 0;             // as the recorder reports it
  std::string version;           // at most 16 characters
  std::string serial;            // at most 16 characters
  int64_t dataAreaSize = 0;      // bytes of measurement memory
  std::vector<RingEntry> rings;  // min(ring count, 32) entries
};

// "NEW" for ring 0, "OLD-%.2d" for the others.
std::string RingName(int ring);
// The ring index of such a name ("OLD-3" and "old-03" are accepted too);
// nullopt for anything else.
std::optional<int> ParseRingName(const std::string& name);

// LinePurge and LineCheck, then the recorder's identity and every ring's
// values, with the caption, status and percentage on progress and a cancel
// check per ring. The failure carries the step's text.
StepResult ReadManagementInfo(LineContext& line, ProgressReporter& progress, RingInfo& info);

// The dialog's panel for one ring, ready to show.
struct RingPanel {
  std::string version;
  std::string serial;
  std::string ring;  // "NEW" / "OLD-nn"
  std::string dataCount;
  std::string channelCount;
  std::string interval;  // the interval code's display name
  std::string start;     // YY/MM/DD hh:mm:ss
  std::string stop;
  std::array<std::string, 4> memos;
};
RingPanel MakeRingPanel(const RingInfo& info, int ring, const DefinitionDb& db);

}  // namespace tessaro
