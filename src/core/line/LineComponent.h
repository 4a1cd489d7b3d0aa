#pragma once
// What the serial and the TCP line components share: the per-read limit
// (CommWait), slave addressing, and the command exchange built on each
// component's byte primitives, so both put the same framing on the wire.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/line/LineWait.h"

namespace tessaro {

class TLineComponent {
 public:
  TLineComponent(const TLineComponent&) = delete;
  TLineComponent& operator=(const TLineComponent&) = delete;
  virtual ~TLineComponent() = default;

  int CommWait() const { return commWait_; }
  virtual void SetCommWait(int milliseconds) { commWait_ = milliseconds; }
  bool Slaved() const { return slaved_; }
  void SetSlaved(bool slaved) { slaved_ = slaved; }
  int SlaveID() const { return slaveId_; }
  void SetSlaveID(int slaveId) { slaveId_ = slaveId; }

  virtual bool PutChar(uint8_t byte) = 0;
  // One byte within CommWait.
  virtual bool GetChar(uint8_t& byte) = 0;
  // Bytes that can be read at once; 0 when closed or on error.
  virtual int InCount() = 0;
  bool HasData() { return InCount() > 0; }
  virtual void Purge() = 0;
  // One reply line without its terminator, slave header removed.
  virtual bool RecvLine(std::string& text) = 0;
  // BlockOk, BlockEnd, BlockBadStart or BlockTimeout; buffer holds 1028 bytes.
  virtual int RecvBlock(bool large, uint8_t* buffer) = 0;

  // [slave header] + text + terminator in one write.
  bool SendLine(std::string_view text);
  // The 10-byte header alone; true without sending when not slaved.
  bool SendSlaveHeader();
  // Drop leftovers, send the command line, read the reply line.
  bool Command(std::string_view command, std::string& reply);
  // Up to 3 empty commands, each answered with "??CMD" by a listening recorder.
  bool CheckLine();
  static bool CheckBlock(bool large, const uint8_t* buffer);

 protected:
  TLineComponent(int commWait, int slaveId) : commWait_(commWait), slaveId_(slaveId) {}

  // Writes all n bytes or fails.
  virtual bool WriteBytes(const uint8_t* bytes, size_t n) = 0;
  // Each byte of a reply may take up to CommWait, but a peer that drips
  // bytes must not stretch a whole reply line or block of `bytes` bytes
  // beyond this many milliseconds; the receive then fails as a timeout.
  virtual int WholeReplyMs(int bytes) const = 0;
  LineClock::time_point WholeReplyDeadline(int bytes) const {
    return DeadlineAfter(WholeReplyMs(bytes));
  }
  virtual std::string_view LineTerminator() const { return "\r"; }

 private:
  int commWait_;
  bool slaved_ = false;
  int slaveId_;
};

}  // namespace tessaro
