#pragma once
// How the communication settings dialog's lists map to the line settings,
// and its checks. Plain functions so that they are testable without windows.

#include <optional>
#include <string>
#include <vector>

namespace tessaro {

inline constexpr const char* kTcpIpPortName = "TCP/IP";
inline constexpr int kBaudRates[] = {9600,  14400,  19200,  38400, 56000,
                                     57600, 115200, 128000, 256000};

int BaudFromIndex(int index);  // unknown index: 9600
int BaudIndex(int baud);       // unknown rate: 0
int DataFromIndex(int index);  // 1 -> 3 (7 bits), else 4 (8 bits)
int DataIndex(int dataCode);   // 3 -> 1, else 0
int StopFromIndex(int index);  // 1 -> 1, 2 -> 2, else 0
int StopIndex(int stopCode);
int ParityFromIndex(int index);  // 1 odd, 2 even, else none
int ParityIndex(int parityCode);

// "TCP/IP" followed by the machine's serial ports (an entry equal to
// "TCP/IP" is left out).
std::vector<std::string> PortListEntries(const std::vector<std::string>& serialPorts);
// The entry for a ComPort setting: the equal text; "COM<n>" also finds its
// device /dev/ttyS<n-1>; otherwise 0 ("TCP/IP").
int PortEntryIndex(const std::vector<std::string>& entries, const std::string& comPort);

// The TCP port typed in the port field: a whole number 1..65535.
std::optional<int> TcpPortFromText(const std::string& text);

}  // namespace tessaro
