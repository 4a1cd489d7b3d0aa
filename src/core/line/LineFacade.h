#pragma once
// The line facade: every feature reaches the recorder only through these
// functions. Each forwards, by the context's LineMode, to the serial
// component (TCommEx) or the TCP component (TSocketEx). None of them shows
// anything; only LineOpen raises (ECommOpenError, serial mode).

#include <cstdint>
#include <string>
#include <string_view>

#include "core/line/LineSettings.h"

namespace tessaro {

class LineContext;

// LineRecvBlock results.
constexpr int BlockOk = 0;
constexpr int BlockEnd = '2';       // EOT received
constexpr int BlockBadStart = '3';  // first byte neither SOH nor EOT
constexpr int BlockTimeout = '4';   // a byte did not arrive within CommWait

constexpr int kSmallBlockData = 128;
constexpr int kLargeBlockData = 1024;
constexpr int kBlockBufferSize = kLargeBlockData + 4;  // SOH, number, ~number, data, sum
constexpr int kLineBufferSize = 1024;

constexpr uint8_t kSOH = 0x01;
constexpr uint8_t kSTX = 0x02;
constexpr uint8_t kEOT = 0x04;
constexpr uint8_t kENQ = 0x05;
constexpr uint8_t kACK = 0x06;
constexpr uint8_t kNAK = 0x15;
constexpr uint8_t kCAN = 0x18;

void LineOpen(LineContext& line);  // throws ECommOpenError
void LineClose(LineContext& line);
void LinePurge(LineContext& line);
bool LineGetChar(LineContext& line, uint8_t& byte);
bool LinePutChar(LineContext& line, uint8_t byte);
bool LineSendText(LineContext& line, std::string_view text);
bool LineSendSlaveHeader(LineContext& line);
// One command line out, one reply line back (reply bytes up to the first NUL).
bool LineCommand(LineContext& line, std::string_view command, std::string& reply);
bool LineCheck(LineContext& line);
bool LineHasData(LineContext& line);
// buffer must hold kBlockBufferSize bytes.
int LineRecvBlock(LineContext& line, bool large, uint8_t* buffer);
bool LineCheckBlock(bool large, const uint8_t* buffer);

void LineSetCommWait(LineContext& line, int milliseconds);
void LineSetSlave(LineContext& line, bool slaved, int slaveId);
void LineSetComPort(LineContext& line, const std::string& port);
void LineSetBaudRate(LineContext& line, int baud);
void LineSetByteSize(LineContext& line, int code);
void LineSetStopBits(LineContext& line, int code);
void LineSetParity(LineContext& line, int code);
void LineFlowNone(LineContext& line);
void LineFlowRtsCts(LineContext& line);
void LineSetHost(LineContext& line, const std::string& host);
void LineSetTcpPort(LineContext& line, int port);

// Configures the (closed) line from the settings and returns the port label
// ("RS232C[COM%d]" or "TCP/IP[%s]").
std::string ApplyLineSettings(LineContext& line, const LineSettings& settings);

}  // namespace tessaro
