#pragma once
// A minimal receiver written for these tests only, independent of the
// program's line code: it sends command lines and runs the receiving side
// of the checksum block transfer, recording every block it sees.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/support/File.h"

namespace tessaro::simtest {

struct ReceiveOptions {
  bool large = false;    // 1024-byte blocks
  bool mnp = false;      // no ACK/NAK after blocks; the first bad block cancels
  int nakGoodBlock = 0;  // answer the k-th good block with NAK once
  int cancelAfter = 0;   // send CAN after k good blocks
  int timeoutMs = 2000;  // per byte
};

struct Received {
  std::vector<uint8_t> data;  // data of the accepted blocks
  std::vector<int> numbers;   // number of every block that arrived intact, in order
  int errors = 0;             // bad, missing or late blocks
  bool completed = false;     // EOT seen
  bool cancelled = false;     // CAN sent
};

class RawClient {
 public:
  static std::optional<RawClient> Tcp(int port);
  static std::optional<RawClient> Pty(const std::string& path);

  bool Send(std::string_view bytes);
  bool SendByte(uint8_t byte) { return Send(std::string_view(reinterpret_cast<char*>(&byte), 1)); }
  std::optional<uint8_t> ReadByte(int timeoutMs);
  // Bytes up to CR (not included).
  std::optional<std::string> ReadLine(int timeoutMs);
  // text + CR out, one line back.
  std::optional<std::string> Command(const std::string& text, int timeoutMs = 3000);
  // Reads and drops input until the line has been quiet for quietMs.
  void Drain(int quietMs);
  // The receiving side after an accepted transfer command ("!!" already read).
  Received Receive(const ReceiveOptions& options);

  void Close() { file_ = File(); }

 private:
  explicit RawClient(File file) : file_(std::move(file)) {}
  File file_;
};

// Slave header for a command: ENQ, blank, 4 hex digits, "FFFF".
std::string SlaveFrame(int slaveId, const std::string& text);

}  // namespace tessaro::simtest
