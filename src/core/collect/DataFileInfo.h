#pragma once
// What the analysis of an RLB recorder data file finds: the recorder's
// identity, the file's layout, the analysed ring's settings per channel and
// the work copy that records are read from. One object per analysis, owned
// by the thread that runs it; destroying it closes and deletes the work copy.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/collect/WorkFile.h"
#include "core/recorder/TupleNumbers.h"
#include "core/support/DateTime.h"

namespace tessaro {

inline constexpr int kMaxChannels = 32;
inline constexpr int kRingTableSize = 512;
inline constexpr int kMemoCount = tuples::kFileMemoLines;
inline constexpr int kMaxRecordSize = 1024;

// Mode codes with their own record layout.
inline constexpr int kModeDateTime = 138;   // the channel is a 6-byte date-time
inline constexpr int kModeWindFirst = 600;  // combined wind speed and direction
inline constexpr int kModeWindLast = 607;
inline constexpr int kDataTypeTimeOfDay = 23;  // day, hour, minute, second (BCD)

inline bool IsWindMode(int mode) { return mode >= kModeWindFirst && mode <= kModeWindLast; }

struct ChannelInfo {
  int mode = 0;      // measurement mode code
  int interval = 0;  // measurement interval code
  int decimals = 0;  // 0 or negative: -k means k decimal places
  int dataType = 0;  // value type code
  int bytes = 0;     // bytes per record
  int offset = 0;    // byte offset of the channel inside a record
  // From the definition database; all empty when the mode is unknown there.
  std::string textA;
  std::string textB;
  std::string textC;
  std::string label;  // CSV column heading
};

struct DataFileInfo {
  std::string rlbPath;  // set by the caller before the analysis
  WorkFile work;        // the work copy all reads go to

  // Header tuples.
  std::string version;  // reply to "ver", at most 16 characters
  int model = 0;
  int subModel = 0;
  int romVersion = 0;
  RecorderDateTime collectionTime{};
  int ringCount = 0;  // rings stored in the file
  int64_t romOffset = 0;
  int64_t eepOffset = 0;
  int64_t battOffset = 0;
  // Absolute offset of each ring's group, -1 for none; unused entries 0.
  std::array<int64_t, kRingTableSize> ringTable{};
  int64_t dataAreaStart = 0;  // first byte of the ring data area
  int64_t dataAreaEnd = 0;    // end of the ring data (where the end marker stands)

  // Analysed ring (always the first one stored).
  int ringIndex = 0;
  int64_t recordCount = 0;  // data count, plus one when the byte count is above 0
  int64_t dataBytes = 0;    // data byte count
  RecorderDateTime startTime{};
  RecorderDateTime stopTime{};
  RecorderDateTime batteryLowTime{};  // all zero when the recorder has none
  int64_t firstDataOffset = 0;        // absolute offset of the ring's first data byte
  int recordSize = 0;                 // sum of the channels' bytes per record
  int64_t dataAreaSize = -1;          // recorder's measurement memory, -1 when unknown

  std::string serialText;                     // at most 16 characters
  std::string dateText;                       // at most 16 characters, empty when absent
  std::array<std::string, kMemoCount> memos;  // each at most 16 characters

  std::vector<ChannelInfo> channels;  // channel count entries, 1..32

  int64_t overwriteIndex = -1;   // first overwritten record, -1 for none
  int64_t batteryLowIndex = -1;  // first record after battery LOW, -1 for none
  int calmThreshold = 0;         // wind speeds not above this are calm

  int ChannelCount() const { return static_cast<int>(channels.size()); }
};

}  // namespace tessaro
