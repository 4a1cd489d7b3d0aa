#include "core/line/LineFacade.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include "core/line/LineBusyError.h"
#include "core/line/LineContext.h"

namespace tessaro {
namespace {

bool Serial(const LineContext& line) { return line.LineMode == kLineModeSerial; }
bool Tcp(const LineContext& line) { return line.LineMode == kLineModeTcp; }

// The port text with every "COM" removed, as a decimal number; 1 otherwise.
int PortNumber(const std::string& port) {
  std::string digits;
  for (size_t i = 0; i < port.size();) {
    if (port.compare(i, 3, "COM") == 0) {
      i += 3;
    } else {
      digits += port[i++];
    }
  }
  if (digits.empty()) return 1;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(digits.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || value < 0 || value > 0x7FFFFFFF) return 1;
  return static_cast<int>(value);
}

// Takes the line's lock; raises ELineBusy naming the holder.
void TakeLineLock(LineContext& line) {
  const TSocketEx& tcp = line.ScktLine;
  const std::string& host = tcp.Host().empty() ? tcp.Address() : tcp.Host();
  const std::string name =
      Tcp(line) ? host + ":" + std::to_string(tcp.Port()) : line.CommLine.DevicePath();
  const std::string key =
      Tcp(line) ? LineLock::TcpKey(host, tcp.Port()) : LineLock::SerialKey(name);
  if (line.Lock.Acquire(key, line.LockWaitMs) == LineLock::Outcome::Busy)
    throw ELineBusy(name, line.Lock.Holder());
}

bool CountFailure(LineContext& line, bool ok) {
  if (!ok) ++line.LineFailures;
  return ok;
}

}  // namespace

void LineOpen(LineContext& line) {
  TakeLineLock(line);
  try {
    if (Tcp(line))
      line.ScktLine.Open();
    else
      line.CommLine.Open();
  } catch (...) {
    line.Lock.Release();
    throw;
  }
}

void LineClose(LineContext& line) {
  if (Tcp(line))
    line.ScktLine.Close();
  else
    line.CommLine.Close();
  line.Lock.Release();
}

void LinePurge(LineContext& line) { line.Current().Purge(); }

bool LineGetChar(LineContext& line, uint8_t& byte) {
  return CountFailure(line, line.Current().GetChar(byte));
}

bool LinePutChar(LineContext& line, uint8_t byte) {
  return CountFailure(line, line.Current().PutChar(byte));
}

bool LineSendText(LineContext& line, std::string_view text) {
  return CountFailure(line, line.Current().SendLine(text));
}

bool LineSendSlaveHeader(LineContext& line) {
  return CountFailure(line, line.Current().SendSlaveHeader());
}

bool LineCommand(LineContext& line, std::string_view command, std::string& reply) {
  return CountFailure(line, line.Current().Command(command, reply));
}

bool LineCheck(LineContext& line) { return CountFailure(line, line.Current().CheckLine()); }

bool LineHasData(LineContext& line) { return line.Current().HasData(); }

int LineRecvBlock(LineContext& line, bool large, uint8_t* buffer) {
  const int result = line.Current().RecvBlock(large, buffer);
  CountFailure(line, result != BlockTimeout && result != BlockBadStart);
  return result;
}

bool LineCheckBlock(bool large, const uint8_t* buffer) {
  return TLineComponent::CheckBlock(large, buffer);
}

void LineSetCommWait(LineContext& line, int milliseconds) {
  line.CommLine.SetCommWait(milliseconds);
  line.ScktLine.SetCommWait(milliseconds);
}

void LineSetSlave(LineContext& line, bool slaved, int slaveId) {
  line.CommLine.SetSlaved(slaved);
  line.CommLine.SetSlaveID(slaveId);
  line.ScktLine.SetSlaved(slaved);
  line.ScktLine.SetSlaveID(slaveId);
}

void LineSetComPort(LineContext& line, const std::string& port) {
  if (!Serial(line)) return;
  // A device path names the port directly.
  if (!port.empty() && port[0] == '/') {
    line.CommLine.SetDevice(port);
    return;
  }
  line.CommLine.SetDevice({});
  line.CommLine.SetPort(PortNumber(port));
}

void LineSetBaudRate(LineContext& line, int baud) {
  if (Serial(line)) line.CommLine.SetBaudRate(baud);
}

void LineSetByteSize(LineContext& line, int code) {
  if (Serial(line) && code >= cbs4 && code <= cbs8)
    line.CommLine.SetByteSize(static_cast<TCommExByteSize>(code));
}

void LineSetStopBits(LineContext& line, int code) {
  if (Serial(line) && code >= csb1 && code <= csb2)
    line.CommLine.SetStopBits(static_cast<TCommExStopBits>(code));
}

void LineSetParity(LineContext& line, int code) {
  if (Serial(line) && code >= cpbNone && code <= cpbSpace)
    line.CommLine.SetParityBits(static_cast<TCommExParityBits>(code));
}

void LineFlowNone(LineContext& line) {
  if (Serial(line)) line.CommLine.FlowNone();
}

void LineFlowRtsCts(LineContext& line) {
  if (Serial(line)) line.CommLine.FlowRtsCts();
}

void LineSetHost(LineContext& line, const std::string& host) {
  if (Tcp(line)) line.ScktLine.SetHost(host);
}

void LineSetTcpPort(LineContext& line, int port) {
  if (Tcp(line)) line.ScktLine.SetPort(port);
}

std::string ApplyLineSettings(LineContext& line, const LineSettings& settings) {
  std::string label;
  if (settings.ComPort != "TCP/IP") {
    line.LineMode = kLineModeSerial;
    LineSetComPort(line, settings.ComPort);
    LineSetBaudRate(line, settings.Baud);
    LineSetByteSize(line, settings.Data);
    LineSetStopBits(line, settings.Stop);
    LineSetParity(line, settings.Parity);
    if (!line.CommLine.Device().empty())
      label = "RS232C[" + line.CommLine.Device() + "]";
    else
      label = "RS232C[COM" + std::to_string(line.CommLine.Port()) + "]";
  } else {
    line.LineMode = kLineModeTcp;
    LineSetHost(line, settings.IpAddr);
    LineSetTcpPort(line, settings.IpPort);
    label = "TCP/IP[" + line.ScktLine.Host() + "]";
  }
  LineSetCommWait(line, settings.Over * 1000);
  return label;
}

}  // namespace tessaro
