#pragma once
// The recorder's side of the checksum block transfer. After the "!!" reply
// it waits for the receiver's NAK, then sends SOH, number, ~number, data,
// sum for each block, numbered from 1 modulo 256. Xdm1k and Xdm wait for
// ACK after each block and resend on NAK; Mnp sends all blocks without
// waiting. EOT ends the transfer (Xdm1k and Xdm wait for its ACK). CAN from
// the receiver stops it at any point. Block faults are injected here.

#include <cstdint>
#include <vector>

#include "sim/Faults.h"
#include "sim/SimReply.h"
#include "sim/SimStream.h"

namespace tessaro::sim {

enum class TransferEnd {
  Completed,  // EOT sent (and acknowledged where the mode wants it)
  Cancelled,  // CAN received
  Abandoned,  // the receiver stopped answering, or a fault silenced the sender
  Stopped,    // the server is stopping
  Closed,     // the connection went away
};

class BlockSender {
 public:
  static constexpr uint8_t kPad = 0xFF;  // fills the last block

  // faults: applied only when applyFaults is true. responseTimeoutMs bounds
  // each wait for the receiver.
  BlockSender(SimStream& stream, const FaultSettings& faults, bool applyFaults,
              int responseTimeoutMs = 10000);

  TransferEnd Send(TransferMode mode, const std::vector<uint8_t>& data);

  // SOH, number, ~number, size data bytes (padded with kPad), sum.
  static std::vector<uint8_t> MakeBlock(int number, const uint8_t* data, size_t available,
                                        int size);

 private:
  enum class Answer { Ack, Nak, Can, Timeout, Stopped, Closed };
  Answer AwaitAnswer();
  TransferEnd Silence();
  bool Write(const std::vector<uint8_t>& bytes);
  TransferEnd Failure() const;

  SimStream& stream_;
  FaultSettings faults_;
  bool applyFaults_;
  int responseTimeoutMs_;
  IoResult lastIo_ = IoResult::Ok;
};

}  // namespace tessaro::sim
