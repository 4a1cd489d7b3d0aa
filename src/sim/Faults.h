#pragma once
// Line faults the simulator can inject, set from the command line or by a
// test while the server runs. Block numbers count the blocks of one
// transfer from 1 (not modulo 256).

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace tessaro::sim {

struct FaultSettings {
  int corruptBlock = 0;                // send block k with a wrong checksum ...
  int corruptTimes = 1;                // ... on this many consecutive attempts
  int dropBlock = 0;                   // leave block k out (once)
  int repeatBlock = 0;                 // send block k a second time, as if its ACK was lost
  int stopAfterBlock = 0;              // fall silent after sending block k
  int eotAfterBlocks = -1;             // end with EOT after k blocks (0: at once), as a gateway may
  int extraBlocks = 0;                 // send this many padding blocks after the data
  std::string transferFilter{};        // block faults only for commands containing this text
  int delayMs = 0;                     // wait before every reply
  int silentAfter = -1;                // answer this many commands, then none (0: none at all)
  std::vector<std::string> refused{};  // commands starting with one of these get "??" ...
  int refuseTimes = 0;                 // ... the first this many times (0: always)
  int lateReply = 0;                   // the reply to command k (from 1) comes lateMs late,
  int lateMs = 0;             // and what arrives meanwhile is dropped, as by a busy recorder
  int baud = 0;               // throttle output to this rate (10 bits a byte); 0 = unthrottled
  int faultyConnections = 0;  // the faults hit only the first k TCP connections (0: all)
  int growRecords = 0;        // the NEW rings grow by this many records at each later connection
};

class Faults {
 public:
  FaultSettings Get() const;
  void Set(const FaultSettings& settings);  // also restarts the counts
  void Clear() { Set(FaultSettings{}); }

  // Counts one accepted TCP connection and returns its number (from 1);
  // past faultyConnections the faults are cleared (throttle and growth stay).
  int CountConnection();

  // Counts one received command; false when the recorder must not answer it.
  bool CountCommand();
  int CommandsSeen() const { return commands_.load(); }
  // Whether the command gets "??": it starts with a refused prefix and,
  // with refuseTimes, has not been refused that often yet.
  bool Refuses(const std::string& command);
  // Bytes that came while a late reply was pending and were dropped.
  void CountDropped(int bytes) { dropped_ += bytes; }
  int DroppedWhileLate() const { return dropped_.load(); }

 private:
  mutable std::mutex mutex_;
  FaultSettings settings_;
  std::atomic<int> commands_{0};
  std::atomic<int> dropped_{0};
  std::vector<int> refusals_;  // per refused prefix, under mutex_
  int connections_ = 0;
};

// Whether block faults apply to the transfer started by this command.
bool FaultsApplyTo(const FaultSettings& faults, const std::string& command);

}  // namespace tessaro::sim
