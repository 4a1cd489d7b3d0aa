#include "core/collect/RlbWriter.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "core/collect/LittleEndian.h"
#include "core/recorder/TupleNumbers.h"

namespace tessaro {
namespace {

constexpr int kRingTableFilled = 32;

struct HeaderTuple {
  int number;
  int elementSize;
  uint8_t fill;  // placeholder byte
};

// File order of the header; tuple 21's count depends on the recorder, tuple
// 23 carries no data of its own.
constexpr HeaderTuple kHeader[] = {
    {rlb::kFileType, 2, 0xFF},       {rlb::kVersion, 1, 0x00},     {rlb::kModel, 2, 0xFF},
    {rlb::kSubModel, 2, 0xFF},       {rlb::kRomVersion, 2, 0xFF},  {rlb::kFileMemo, 1, 0x00},
    {rlb::kCollectionTime, 6, 0x00}, {rlb::kRingCount, 2, 0xFF},   {rlb::kRomOffset, 4, 0xFF},
    {rlb::kEepOffset, 4, 0xFF},      {rlb::kBattOffset, 4, 0xFF},  {rlb::kRingTable, 4, 0x00},
    {rlb::kDataAreaStart, 4, 0xFF},  {rlb::kDataAreaEnd, 4, 0xFF}, {rlb::kDataBlock, 4, 0x00},
};

bool FitsInt32(int64_t v) {
  return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

}  // namespace

RlbWriter::~RlbWriter() { Discard(); }

bool RlbWriter::Create(const std::string& path, SafeOutputFile::Existing existing) {
  Discard();
  if (!out_.Create(path, existing)) return false;
  path_ = path;
  return true;
}

const std::string& RlbWriter::ReadablePath() const {
  return committed_ ? path_ : out_.TemporaryPath();
}

bool RlbWriter::WriteHeader(int recorderRingCount) {
  if (!file_ || !file_.SeekExact(0)) return false;
  ringTableSize_ = recorderRingCount >= 33 ? rlb::kRingTableLarge : rlb::kRingTableSmall;
  int64_t at = 0;
  for (const auto& t : kHeader) {
    int32_t count = 1;
    if (t.number == rlb::kVersion || t.number == rlb::kFileMemo) count = rlb::kTextSize;
    if (t.number == rlb::kRingTable) count = ringTableSize_;
    const bool block = t.number == rlb::kDataBlock;
    const int64_t size = block ? 0 : int64_t{t.elementSize} * count;
    std::vector<uint8_t> fill(static_cast<size_t>(size), t.fill);
    if (block) {
      // Tuple 23 announces one 4-byte element; the areas follow its count.
      uint8_t head[kFileTupleHeaderSize];
      EncodeFileTupleHeader({t.number, 9, 4, 1}, head);
      if (!file_.WriteExact(head, sizeof head)) return false;
    } else if (!WriteFileTuple(file_, t.number, t.elementSize, count, fill.data())) {
      return false;
    }
    dataOffset_[static_cast<size_t>(t.number)] = at + kFileTupleHeaderSize;
    at += kFileTupleHeaderSize + size;
  }
  return true;
}

template <typename Access>
auto RlbWriter::KeepingPosition(Access access) -> decltype(access()) {
  const auto at = Position();
  auto result = access();
  if (!at || !file_.SeekExact(*at)) return decltype(access()){};
  return result;
}

bool RlbWriter::Patch(int number, const void* data, size_t size) {
  return file_ && dataOffset_[static_cast<size_t>(number)] > 0 &&
         file_.SeekExact(dataOffset_[static_cast<size_t>(number)]) && file_.WriteExact(data, size);
}

bool RlbWriter::SetFileType() {
  uint8_t v[2];
  PutLittle16(v, 0);
  return Patch(rlb::kFileType, v, sizeof v);
}

bool RlbWriter::SetVersion(const std::string& version) {
  char text[rlb::kTextSize] = {};
  std::memcpy(text, version.data(), std::min(version.size(), sizeof text));
  return Patch(rlb::kVersion, text, sizeof text);
}

bool RlbWriter::SetModel(int code) {
  uint8_t v[2];
  PutLittle16(v, static_cast<uint16_t>(code));
  return Patch(rlb::kModel, v, sizeof v);
}

bool RlbWriter::SetSubModel(int code) {
  uint8_t v[2];
  PutLittle16(v, static_cast<uint16_t>(code));
  return Patch(rlb::kSubModel, v, sizeof v);
}

bool RlbWriter::SetRomVersion(int code) {
  uint8_t v[2];
  PutLittle16(v, static_cast<uint16_t>(code));
  return Patch(rlb::kRomVersion, v, sizeof v);
}

bool RlbWriter::SetFileMemo() {
  const uint8_t zero[rlb::kTextSize] = {};
  return Patch(rlb::kFileMemo, zero, sizeof zero);
}

bool RlbWriter::SetCollectionTime(const RecorderDateTime& time) {
  // The in-memory form already has its words low byte first, as the file wants.
  return Patch(rlb::kCollectionTime, time.data(), time.size());
}

bool RlbWriter::BeginAreas() {
  romOffset_ = dataOffset_[rlb::kDataBlock];
  return file_ && romOffset_ > 0 && file_.SeekExact(romOffset_);
}

bool RlbWriter::MarkEepArea() {
  const auto at = Position();
  if (at) eepOffset_ = *at;
  return at.has_value();
}

bool RlbWriter::MarkBattArea() {
  const auto at = Position();
  if (at) battOffset_ = *at;
  return at.has_value();
}

bool RlbWriter::MarkRingDataArea() {
  const auto at = Position();
  if (at) ringDataStart_ = *at;
  return at.has_value();
}

bool RlbWriter::WriteBlock(const void* data, size_t size) {
  return file_ && file_.WriteExact(data, size);
}

bool RlbWriter::SeekTo(int64_t offset) { return file_ && file_.SeekExact(offset); }

std::optional<int64_t> RlbWriter::Position() const { return file_.Position(); }

std::optional<RecorderTuple> RlbWriter::ReadBattTuple(int number) {
  if (!file_ || battOffset_ <= 0) return std::nullopt;
  return KeepingPosition(
      [&] { return ReadRecorderTuple(file_, battOffset_, ringDataStart_, number); });
}

bool RlbWriter::WriteBattInteger(int number, int64_t value) {
  return file_ && battOffset_ > 0 && KeepingPosition([&] {
           return WriteRecorderInteger(file_, battOffset_, ringDataStart_, number, value);
         });
}

std::optional<RecorderTuple> RlbWriter::ReadGroupTuple(int64_t filePointer, int number) {
  if (!file_ || battOffset_ <= 0 || filePointer < 0) return std::nullopt;
  return KeepingPosition(
      [&] { return ReadRecorderTuple(file_, GroupStart(filePointer), ringDataStart_, number); });
}

bool RlbWriter::WriteGroupInteger(int64_t filePointer, int number, int64_t value) {
  return file_ && battOffset_ > 0 && filePointer >= 0 && KeepingPosition([&] {
           return WriteRecorderInteger(file_, GroupStart(filePointer), ringDataStart_, number,
                                       value);
         });
}

bool RlbWriter::WriteGroupDateTime(int64_t filePointer, int number, const RecorderDateTime& value) {
  return file_ && battOffset_ > 0 && filePointer >= 0 && KeepingPosition([&] {
           return WriteRecorderDateTime(file_, GroupStart(filePointer), ringDataStart_, number,
                                        value);
         });
}

RlbWriter::FinishResult RlbWriter::Finish(int ringsStored, int recorderRingCount) {
  const auto end = Position();
  if (!end || !FitsInt32(*end)) return FinishResult::WriteFailed;
  uint8_t marker[kFileTupleHeaderSize];
  EncodeFileTupleHeader({kFileTupleEnd, 5, 1, 0}, marker);
  if (!file_.WriteExact(marker, sizeof marker)) return FinishResult::WriteFailed;

  uint8_t v[4];
  // Tuple 23's size goes into its count field, just before the ROM area.
  PutLittle32(v, static_cast<uint32_t>(*end - romOffset_));
  if (romOffset_ < 4 || !file_.SeekExact(romOffset_ - 4) || !file_.WriteExact(v, 4))
    return FinishResult::WriteFailed;
  PutLittle16(v, static_cast<uint16_t>(ringsStored));
  if (!Patch(rlb::kRingCount, v, 2)) return FinishResult::WriteFailed;
  for (auto [number, offset] :
       {std::pair{rlb::kRomOffset, romOffset_}, std::pair{rlb::kEepOffset, eepOffset_},
        std::pair{rlb::kBattOffset, battOffset_}}) {
    PutLittle32(v, static_cast<uint32_t>(offset));
    if (!Patch(number, v, 4)) return FinishResult::WriteFailed;
  }

  if (battOffset_ <= 0 || !file_.SeekExact(battOffset_)) return FinishResult::BattAccessFailed;
  uint8_t table[kRingTableFilled * 4] = {};
  const int rings = std::min(recorderRingCount, kRingTableFilled);
  for (int n = 0; n < rings; ++n) {
    const auto pointer = ReadBattTuple(tuples::kFilePointer + n);
    if (!pointer || !pointer->IsInteger()) return FinishResult::FilePointerFailed;
    const int64_t p = pointer->Integer();
    PutLittle32(table + 4 * n, static_cast<uint32_t>(p == -1 ? -1 : battOffset_ + p));
  }
  if (!Patch(rlb::kRingTable, table, sizeof table)) return FinishResult::WriteFailed;
  PutLittle32(v, static_cast<uint32_t>(ringDataStart_));
  if (!Patch(rlb::kDataAreaStart, v, 4)) return FinishResult::WriteFailed;
  PutLittle32(v, static_cast<uint32_t>(*end));
  if (!Patch(rlb::kDataAreaEnd, v, 4)) return FinishResult::WriteFailed;
  finished_ = true;
  return FinishResult::Ok;
}

bool RlbWriter::Complete() {
  if (finished_ && out_.Flush()) return true;
  Discard();
  return false;
}

bool RlbWriter::Commit() {
  if (!finished_ || !out_.Commit()) {
    Discard();
    return false;
  }
  committed_ = true;
  return true;
}

bool RlbWriter::Close() { return Complete() && Commit(); }

void RlbWriter::Discard() {
  out_.Discard();
  finished_ = false;
  committed_ = false;
}

}  // namespace tessaro
