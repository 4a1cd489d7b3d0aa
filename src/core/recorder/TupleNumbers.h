#pragma once
// The recorder's tuple numbers: where each setting and each value of a ring
// lives in the ROM, EEP and BATT areas and in a ring's FILE group. Series
// hold one tuple per channel (base + channel) or per entry (base + index).
// Every feature takes its numbers from here.

namespace tessaro::tuples {

// ROM: factory values, read only.
inline constexpr int kRomModel = 100;
inline constexpr int kRomSubModel = 101;
inline constexpr int kRomVersion = 102;
inline constexpr int kRomAttributeSize = 106;  // bytes of the BATT area
inline constexpr int kRomDataAreaSize = 107;   // bytes of measurement memory; may be absent
inline constexpr int kRomRingCount = 108;      // absent: one ring
inline constexpr int kRomMaxChannels = 109;
inline constexpr int kRomFileStride = 115;        // bytes between FILE groups; may be absent
inline constexpr int kRomCapability = 120;        // absent: no capability bits
inline constexpr int kCapabilityLargeBlocks = 4;  // bit of kRomCapability: 1024-byte blocks

// EEP: settings. The channel count and the series below are numbered
// alike in EEP and in a ring's FILE group.
inline constexpr int kChannelCount = 202;
inline constexpr int kEepSerial = 210;
inline constexpr int kEepDate = 211;  // may be absent
inline constexpr int kEepSampling = 234;
inline constexpr int kEepPreTimer = 280;

// A per-channel series: the newer numbering, and the older one of
// recorders that do not know the newer base.
struct Series {
  int newer;
  int older;
};
inline constexpr Series kModeSeries{2000, 240};
inline constexpr Series kIntervalSeries{3000, 260};
inline constexpr Series kDecimalsSeries{2100, 820};
inline constexpr Series kDataTypeSeries{2200, 840};
inline constexpr Series kSizeSeries{2300, 860};  // bytes per record

// BATT: memo lines and the FILE pointers of the rings.
inline constexpr int kMemo = 620;      // + line; also the memos of a FILE group
inline constexpr int kMemoLines = 16;  // BATT memo lines at most
inline constexpr int kFileMemoLines = 8;
inline constexpr int kFilePointer = 640;  // + ring: offset of its FILE group in BATT, -1 none

// FILE group of one ring.
inline constexpr int kStartTime = 800;
inline constexpr int kStopTime = 801;
inline constexpr int kDataCount = 802;
inline constexpr int kBatteryLowTime = 805;  // may be absent
inline constexpr int kByteCount = 806;
inline constexpr int kStartPointer = 880;  // from the start of the ring data area
inline constexpr int kStopPointer = 881;

}  // namespace tessaro::tuples
