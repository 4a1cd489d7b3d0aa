#pragma once
// The serial line component: one tty opened exclusively, raw binary, with
// every receive bounded by CommWait. A port is named by number (COM<n> means
// /dev/ttyS<n-1>) or by a device path, which takes precedence when set.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/line/LineComponent.h"
#include "core/line/UniqueFd.h"

namespace tessaro {

class TCommExWatch;

enum TCommExParityBits { cpbNone, cpbOdd, cpbEven, cpbMark, cpbSpace };
enum TCommExByteSize { cbs4, cbs5, cbs6, cbs7, cbs8 };  // data bits = value + 4
enum TCommExStopBits { csb1, csb15, csb2 };
enum TCommExFlowControl { cfcDtrDsr, cfcRtsCts, cfcXonXoff };
enum TCommExEvents {
  evRxchar,
  evRxflag,
  evTxempty,
  evCts,
  evDsr,
  evRlsd,
  evBreak,
  evErr,
  evRing,
  evPerr
};
enum TCommExRecvType { crCR, crCRLF, crMDM, crCRoLF };

// Sets of the enumerations above: member m is bit 1 << m.
using TCommExFlowControls = uint32_t;
using TCommExEventMask = uint32_t;
constexpr uint32_t CommSet(int member) { return 1u << member; }

class TCommEx : public TLineComponent {
 public:
  using NotifyEvent = std::function<void(TCommEx& sender, TCommExEventMask events)>;
  using NotifyRxTxEvent = std::function<void(TCommEx& sender, uint16_t size)>;

  TCommEx();
  ~TCommEx() override;

  // Raises ECommOpenError when the port cannot be opened (missing, in use,
  // not a tty); nothing stays open then. Does nothing when already open.
  void Open();
  // Drops DTR, discards both queues, closes, then waits the settle delay.
  void Close();
  bool Active() const { return fd_.valid(); }

  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }
  // A device path such as /dev/ttyUSB0; empty: use Port.
  const std::string& Device() const { return device_; }
  void SetDevice(std::string device) { device_ = std::move(device); }
  std::string DevicePath() const;

  int BaudRate() const { return baudRate_; }  // -1: BaudRateUserDefined applies
  void SetBaudRate(int baud);
  uint32_t BaudRateUserDefined() const { return baudRateUserDefined_; }
  void SetBaudRateUserDefined(uint32_t baud);
  TCommExParityBits ParityBits() const { return parity_; }
  void SetParityBits(TCommExParityBits parity);
  TCommExByteSize ByteSize() const { return byteSize_; }
  void SetByteSize(TCommExByteSize size);
  TCommExStopBits StopBits() const { return stopBits_; }
  void SetStopBits(TCommExStopBits stop);
  TCommExFlowControls FlowControls() const { return flow_; }
  void SetFlowControls(TCommExFlowControls flow);
  // The driver owns its queue sizes on Linux; OutQueueSize still caps one write.
  uint16_t InQueueSize() const { return inQueueSize_; }
  void SetInQueueSize(uint16_t size) { inQueueSize_ = size; }
  uint16_t OutQueueSize() const { return outQueueSize_; }
  void SetOutQueueSize(uint16_t size) { outQueueSize_ = size; }
  // XON/XOFF thresholds: kept for the settings, the tty driver fixes its own.
  int ReceiveNotifySize() const { return receiveNotifySize_; }
  void SetReceiveNotifySize(int size) { receiveNotifySize_ = size; }
  int SendNotifySize() const { return sendNotifySize_; }
  void SetSendNotifySize(int size) { sendNotifySize_ = size; }
  TCommExEventMask EventMask() const { return eventMask_.load(); }
  void SetEventMask(TCommExEventMask mask) { eventMask_.store(mask); }
  TCommExRecvType RecvType() const { return recvType_; }
  void SetRecvType(TCommExRecvType type) { recvType_ = type; }
  bool Enabled() const { return enabled_.load(); }
  void SetEnabled(bool enabled) { enabled_.store(enabled); }

  // Modem status and queue state; false when closed (a pty has no modem lines).
  bool DSRState() const;
  bool CTSState() const;
  bool DCDState() const;
  bool RDState() const;
  bool TDState() const;
  bool SetDTR(bool on);
  bool SetRTS(bool on);

  // Set before Open; called on the watch thread.
  NotifyEvent OnCommEvent;
  NotifyRxTxEvent OnCommReceive;
  NotifyRxTxEvent OnCommTransmit;

  bool WriteBuffer(const uint8_t* bytes, size_t n);
  // Exactly n bytes, all within CommWait.
  bool ReadBuffer(uint8_t* buffer, size_t n);

  bool PutChar(uint8_t byte) override;
  bool GetChar(uint8_t& byte) override;
  int InCount() override;
  void Purge() override;
  bool RecvLine(std::string& text) override;
  int RecvBlock(bool large, uint8_t* buffer) override;

  void FlowNone();
  void FlowRtsCts();
  // Waits, keeping the window alive when called on the user-interface thread.
  void SettleDelay(int milliseconds);

  // Pauses of Close and Purge; shorter ones let tests run fast.
  struct Timing {
    int closeSettleMs = 500;
    int purgeLeadMs = 1000;
    int purgeQuietMs = 500;
    int purgeLimitMs = 30000;
  };
  void SetTiming(const Timing& timing) { timing_ = timing; }

  // The machine's serial devices (/dev/...), sorted by name and number.
  // False when the tty class cannot be read.
  static bool ListSerialPorts(std::vector<std::string>& list);

  // Called by the watch thread.
  virtual void EventNotification(TCommExEventMask events);
  virtual void ReceiveNotification();
  virtual void TransmitNotification();

 protected:
  bool WriteBytes(const uint8_t* bytes, size_t n) override { return WriteBuffer(bytes, n); }
  std::string_view LineTerminator() const override;
  // CommWait plus twice the time the bytes take at the line's rate and frame.
  int WholeReplyMs(int bytes) const override;

 private:
  bool Usable() const { return Active() && Enabled(); }
  void ApplyLineParameters();
  int ModemBits() const;
  // ReadBuffer that also gives up at limit.
  bool ReadWithin(uint8_t* buffer, size_t n, LineClock::time_point limit);
  bool ReadLineUntil(std::string& raw, bool (*isEnd)(const std::string&),
                     LineClock::time_point limit);

  UniqueFd fd_;
  std::unique_ptr<TCommExWatch> watch_;
  int port_ = 1;
  std::string device_;
  int baudRate_ = 9600;
  uint32_t baudRateUserDefined_ = 9600;
  TCommExParityBits parity_ = cpbNone;
  TCommExByteSize byteSize_ = cbs8;
  TCommExStopBits stopBits_ = csb1;
  TCommExFlowControls flow_ = CommSet(cfcRtsCts);
  uint16_t inQueueSize_ = 4096;
  uint16_t outQueueSize_ = 4096;
  int receiveNotifySize_ = 3072;
  int sendNotifySize_ = 1024;
  std::atomic<TCommExEventMask> eventMask_{0};
  TCommExRecvType recvType_ = crCR;
  std::atomic<bool> enabled_{false};
  Timing timing_;
};

// Orders port names by their text without the trailing number, then by that
// number: COM1, COM2, COM10; /dev/ttyS2 before /dev/ttyS10.
void SortPortNames(std::vector<std::string>& names);

}  // namespace tessaro
