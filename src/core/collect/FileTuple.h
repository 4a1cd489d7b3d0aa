#pragma once
// The RLB file's own header records (all fields little-endian):
//
//   number (int16; -1 ends the file), length (int32, bytes after this field:
//   element size x count + 5), element size (uint8), count (int32), data.
//
// and the tuple numbers of the RLB header.

#include <cstdint>
#include <optional>

#include "core/support/File.h"

namespace tessaro {

struct FileTupleHeader {
  int number = 0;
  int32_t length = 0;
  int elementSize = 0;
  int32_t count = 0;
};

struct FileTupleLocation {
  FileTupleHeader header;
  int64_t dataOffset = 0;  // first byte after the count field
};

inline constexpr int64_t kFileTupleHeaderSize = 11;
inline constexpr int kFileTupleEnd = -1;

// Header tuple numbers of an RLB file, in file order (24 before 23: the data
// block of tuple 23 runs to the end marker).
namespace rlb {
inline constexpr int kFileType = 10;
inline constexpr int kVersion = 11;
inline constexpr int kModel = 12;
inline constexpr int kSubModel = 13;
inline constexpr int kRomVersion = 14;
inline constexpr int kFileMemo = 15;
inline constexpr int kCollectionTime = 16;
inline constexpr int kRingCount = 17;
inline constexpr int kRomOffset = 18;
inline constexpr int kEepOffset = 19;
inline constexpr int kBattOffset = 20;
inline constexpr int kRingTable = 21;
inline constexpr int kDataAreaStart = 22;
inline constexpr int kDataBlock = 23;
inline constexpr int kDataAreaEnd = 24;
inline constexpr int kTextSize = 32;  // tuples 11 and 15
inline constexpr int kRingTableSmall = 32;
inline constexpr int kRingTableLarge = 512;  // recorders with 33 rings or more
}  // namespace rlb

void EncodeFileTupleHeader(const FileTupleHeader& header, uint8_t out[kFileTupleHeaderSize]);
FileTupleHeader DecodeFileTupleHeader(const uint8_t in[kFileTupleHeaderSize]);

// Writes a whole tuple (header and data of elementSize x count bytes) at the
// current position.
bool WriteFileTuple(File& file, int number, int elementSize, int32_t count, const void* data);

// Walks the tuples from the start of the file by their length fields until
// `number` or the end marker; nullopt when the walk leaves the file, meets a
// length below 5 or finds the end marker first.
std::optional<FileTupleLocation> FindFileTuple(File& file, int number);

}  // namespace tessaro
