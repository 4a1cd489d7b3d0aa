#pragma once
// What a simulated recorder is: identity, which tuples it has, its settings
// and settable code lists, and the rings of measurement data it holds.
// DefaultProfile() is the built-in 4-channel analogue recorder; profile
// files (ProfileLoader) start from it and override what they name.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/support/DateTime.h"

namespace tessaro::sim {

struct ChannelProfile {
  int mode = 1;        // measurement-mode code
  int interval = 304;  // interval code
  int decimals = -1;   // 0 or negative: -k means k decimal places
  int dataType = 1;    // data type code
  int bytes = 2;       // bytes per record
  bool operator==(const ChannelProfile&) const = default;
};

struct RingProfile {
  std::vector<ChannelProfile> channels;
  int64_t records = 0;
  DateTimeFields start{2026, 12, 1, 9, 0, 0};
  std::vector<std::string> memos;           // FILE tuples 620..627
  bool hasMemos = true;                     // without them no 620..627 at all
  bool has805 = true;                       // battery-LOW time tuple present
  std::optional<int64_t> batteryLowRecord;  // record at which the battery went LOW

  int RecordSize() const;
  bool operator==(const RingProfile&) const = default;
};

struct RecorderProfile {
  std::string name = "default";
  std::string description = "4-channel analogue recorder";

  // Identity.
  std::string version = "CVX-4A Ver1.20";
  int model = 41;
  int subModel = 2;
  int romVersion = 120;
  std::string serial = "CX4A00012345";
  std::optional<std::string> dateText = "2026/10/01";  // EEP 211

  // ROM tuples that may be missing.
  std::optional<int> capability = 4;  // ROM 120; bit value 4: 1024-byte blocks
  bool ringCountTuple = true;         // ROM 108
  int maxChannels = 8;                // ROM 109
  int64_t dataAreaSize = 131072;      // bytes of measurement memory
  bool dataAreaSizeTuple = true;      // ROM 107
  int64_t dataStart = 100000;         // where the oldest ring's data begins
  bool oldNumbering = false;          // 240/260/820/840/860 instead of 2000/3000/2100/2200/2300
  int fileStride = 0;                 // > 0: FILE groups this far apart, ROM 115 present

  // Clock at start-up; the PC's local time when absent.
  std::optional<DateTimeFields> clock;

  // EEP settings and the settable code lists.
  int channelCount = 4;                       // EEP 202
  std::vector<int> modes{1, 2, 3, 1};         // EEP 2000 + i (240 + i); MaxChannels entries used
  int interval = 304;                         // EEP 3000 (260)
  std::optional<int> preTimer = 1000;         // EEP 280
  std::optional<int> sampling = 300;          // EEP 234
  std::string modeList = "1:3,120,300";       // "askmode%d" for channels without their own list
  std::vector<std::string> channelModeLists;  // per channel (index 0 = channel 1), may be empty
  std::string intervalList = "300:308,400:411,1001:1059,1101:1159,1201:1224";
  std::optional<std::string> preTimerList = "1000:1010,1101:1130";
  std::optional<std::string> samplingList = "300:304";

  std::vector<std::string> userMemos{"SITE-A", "PUMP HOUSE", "CH1 VOLT", "CH2 TEMP"};

  std::vector<RingProfile> rings;  // ring 0 is the NEW ring

  int RingCount() const { return static_cast<int>(rings.size()); }
};

RecorderProfile DefaultProfile();

// Limits a profile must keep so the recorder it describes can exist; the
// first violation as text, empty when none.
std::string CheckProfile(const RecorderProfile& profile);

}  // namespace tessaro::sim
