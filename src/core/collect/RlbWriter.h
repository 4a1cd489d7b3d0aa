#pragma once
// Writes an RLB recorder data file in the order a collection produces it:
// the header with placeholders, the header values, the ROM, EEP and BATT
// area images and the ring data as they arrive, then the end marker and the
// final header values. The file is written under a temporary name beside
// its own (SafeOutputFile) and takes its name only when Commit is called
// after a successful Finish; anything else removes it when the writer goes
// away, so a failed or cancelled collection leaves nothing behind and an
// earlier file of the name stays as it was.
//
//   RlbWriter w;
//   w.Create(path, existing) && w.WriteHeader(ringCount) && w.SetFileType() && ...
//   w.BeginAreas();            // ROM area starts here
//   ... WriteBlock() ...       // ROM blocks
//   w.MarkEepArea();  ... WriteBlock() ...
//   w.MarkBattArea(); ... WriteBlock() ...
//   w.MarkRingDataArea();
//   per ring: ring data blocks, tuple rewrites, SeekTo(ring start + bytes)
//   w.Finish(ringsStored, recorderRingCount) == RlbWriter::FinishResult::Ok
//   w.Complete();   // on disk, still under the temporary name (ReadablePath)
//   w.Commit();     // renamed into place; Close() does both

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/collect/FileTuple.h"
#include "core/collect/RecorderTuple.h"
#include "core/collect/SafeOutputFile.h"
#include "core/support/DateTime.h"
#include "core/support/File.h"

namespace tessaro {

class RlbWriter {
 public:
  enum class FinishResult {
    Ok,
    BattAccessFailed,   // the BATT area cannot be reached
    FilePointerFailed,  // a ring's FILE pointer cannot be read
    WriteFailed,        // the end marker or a header value cannot be written
  };

  RlbWriter() = default;
  ~RlbWriter();
  RlbWriter(const RlbWriter&) = delete;
  RlbWriter& operator=(const RlbWriter&) = delete;

  // Starts the file; what happens to an existing file of the name (at
  // Commit) is SafeOutputFile's rule.
  bool Create(const std::string& path,
              SafeOutputFile::Existing existing = SafeOutputFile::Existing::Replace);
  // The fifteen header tuples with their placeholders; the ring table has
  // 512 entries when the recorder has 33 rings or more, else 32.
  bool WriteHeader(int recorderRingCount);

  bool SetFileType();                                    // tuple 10: 0
  bool SetVersion(const std::string& version);           // tuple 11: first 32 bytes
  bool SetModel(int code);                               // tuple 12
  bool SetSubModel(int code);                            // tuple 13
  bool SetRomVersion(int code);                          // tuple 14
  bool SetFileMemo();                                    // tuple 15: 32 zero bytes
  bool SetCollectionTime(const RecorderDateTime& time);  // tuple 16

  // Seeks to the data of tuple 23, where the ROM area begins.
  bool BeginAreas();
  // The current position starts the EEP area, the BATT area, the ring data.
  bool MarkEepArea();
  bool MarkBattArea();
  bool MarkRingDataArea();
  // Writes at the current position.
  bool WriteBlock(const void* data, size_t size);
  bool SeekTo(int64_t offset);
  std::optional<int64_t> Position() const;
  File& Handle() { return file_; }
  // Where the file can be read now: its temporary name until Commit, then
  // its own.
  const std::string& ReadablePath() const;
  // Why the last file operation failed ("name: No space left on device");
  // empty when no system reason is known.
  std::string FailureReason() const { return out_.Reason(); }

  int64_t RomOffset() const { return romOffset_; }
  int64_t EepOffset() const { return eepOffset_; }
  int64_t BattOffset() const { return battOffset_; }
  int64_t RingDataStart() const { return ringDataStart_; }

  // Tuples of the BATT area, and of a ring's group at BATT offset + its
  // FILE pointer. Both regions end where the ring data begins.
  std::optional<RecorderTuple> ReadBattTuple(int number);
  bool WriteBattInteger(int number, int64_t value);
  std::optional<RecorderTuple> ReadGroupTuple(int64_t filePointer, int number);
  bool WriteGroupInteger(int64_t filePointer, int number, int64_t value);
  bool WriteGroupDateTime(int64_t filePointer, int number, const RecorderDateTime& value);

  // Writes the end marker at the current position and the final header
  // values: data block size, rings stored, area offsets, ring table (from
  // the BATT area's FILE pointers), ring data start and end.
  FinishResult Finish(int ringsStored, int recorderRingCount);
  // After a successful Finish: flushes the file to disk, keeping it under
  // its temporary name. False (and the file deleted) otherwise.
  bool Complete();
  // Renames the completed file into place; false (file deleted) on failure.
  bool Commit();
  // Complete and Commit.
  bool Close();
  // Deletes the file unless it was committed.
  void Discard();

 private:
  bool Patch(int number, const void* data, size_t size);
  // Runs a tuple access and puts the file position back where it was: the
  // blocks that follow are written at the current position.
  template <typename Access>
  auto KeepingPosition(Access access) -> decltype(access());
  int64_t GroupStart(int64_t filePointer) const { return battOffset_ + filePointer; }

  std::string path_;
  SafeOutputFile out_;
  File& file_ = out_.Handle();  // the temporary file while it is written
  bool finished_ = false;
  bool committed_ = false;
  int ringTableSize_ = rlb::kRingTableSmall;
  // Offset of each header tuple's data, by tuple number 10..24.
  std::array<int64_t, 25> dataOffset_{};
  int64_t romOffset_ = 0;
  int64_t eepOffset_ = 0;
  int64_t battOffset_ = 0;
  int64_t ringDataStart_ = 0;
};

}  // namespace tessaro
