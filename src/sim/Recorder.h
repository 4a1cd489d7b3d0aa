#pragma once
// The simulated recorder: its ROM, EEP and BATT tuple areas with one FILE
// group per ring, its measurement memory holding the rings' records, its
// clock and firmware loader, and the interpreter of its command language.
// Thread-safe: the server's sessions and a test may use it at once.

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/RecorderProfile.h"
#include "sim/SimReply.h"
#include "sim/TupleArea.h"

namespace tessaro::sim {

enum class SimArea { Rom, Eep, Batt };

// The byte images a collection receives, unpadded: the three areas (the
// BATT image includes the FILE groups) and each ring's data as sent.
struct RecorderImages {
  std::vector<uint8_t> rom;
  std::vector<uint8_t> eep;
  std::vector<uint8_t> batt;
  std::vector<std::vector<uint8_t>> rings;
};

class Recorder {
 public:
  // slaveId > 0 marks the serial number so that recorders behind one
  // gateway can be told apart; -1 for a directly connected recorder.
  explicit Recorder(const RecorderProfile& profile, int slaveId = -1);

  // Runs one command line (without CR and slave header).
  SimReply Execute(std::string_view command);

  // The ring records count more records, as if the recorder had gone on
  // measuring: the FILE groups, data area, BATT and ROM images are made
  // again (EEP and the clock stay).
  void AddRecords(int ring, int64_t count);

  const RecorderProfile& Profile() const { return profile_; }
  std::string Serial() const;
  int RingCount() const { return static_cast<int>(groups_.size()); }

  std::vector<uint8_t> AreaImage(SimArea area) const;
  // Ring data as the transfer sends it: tuple 806 bytes from the start
  // pointer (880) on, wrapping at the end of the data area.
  std::vector<uint8_t> RingBytes(int ring) const;
  RecorderImages Images() const;

  // Reading rules of a collected ring: records = tuple 802, plus 1 when
  // tuple 806 is above 0.
  int64_t RecordCount(int ring) const;
  int RecordSize(int ring) const;
  // A record as generated, before any overwriting.
  std::vector<uint8_t> GeneratedRecord(int ring, int64_t record) const;
  // The first record index whose data survived when the ring alone
  // exceeds the data area ((806 - area size) / record size), else -1.
  int64_t OverwriteIndex(int ring) const;
  // Record index of the battery-LOW time, else -1.
  int64_t BatteryLowIndex(int ring) const;

  // A tuple's value as its read command answers it; nullopt when absent.
  std::optional<std::string> TupleText(SimArea area, int number) const;
  std::optional<std::string> FileTupleText(int ring, int number) const;

  std::string ClockText() const;  // YYMMDDhhmmss now

  // Firmware loader: lines accepted since "eromoff", the bytes the data
  // records carried, and whether "eromon" closed a write.
  int FirmwareLineCount() const;
  std::map<uint32_t, uint8_t> FirmwareImage() const;
  bool FirmwareConfirmed() const;

  // Commands received, oldest first (the last 10000).
  std::vector<std::string> Commands() const;

 private:
  enum class FirmwareState { Idle, Selected, Writing };

  void BuildGroups();
  void BuildMemory();
  void BuildBatt();
  void BuildEep();
  void BuildRom();

  SimReply Dispatch(std::string_view command);
  std::string ReadTuple(const TupleArea* area, std::string_view arg, const char* absent) const;
  std::string WriteTuple(TupleArea* area, std::string_view args);
  std::optional<SimReply> Transfer(std::string_view command);
  std::string Firmware(std::string_view command);
  TupleArea* Group(std::string_view ringArg, std::string_view& rest);
  const TupleArea* Area(SimArea area) const;
  std::vector<uint8_t> BattImage() const;
  std::vector<uint8_t> RingBytesLocked(int ring) const;
  int64_t ClockSeconds() const;

  mutable std::mutex mutex_;
  RecorderProfile profile_;
  int slaveId_;
  TupleArea rom_;
  TupleArea eep_;
  TupleArea batt_;
  std::vector<TupleArea> groups_;
  std::vector<size_t> groupOffsets_;  // from the start of the BATT image
  size_t battSize_ = 0;               // BATT image with its groups
  std::vector<uint8_t> memory_;       // the data area

  int64_t clockBase_ = 0;  // calendar seconds at clockSet_
  std::chrono::steady_clock::time_point clockSet_;

  FirmwareState firmware_ = FirmwareState::Idle;
  int firmwareLines_ = 0;
  bool firmwareConfirmed_ = false;
  std::map<uint32_t, uint8_t> firmwareImage_;

  std::vector<std::string> commands_;
};

// The images a recorder of this profile would send, for assembling an RLB
// file independently of the collection code.
RecorderImages BuildRecorderImages(const RecorderProfile& profile);

}  // namespace tessaro::sim
