#pragma once
// Byte I/O of one simulator session on a connected socket or a pty master.
// Every wait sleeps in poll() together with the server's stop descriptor,
// so Stop() ends a session at once wherever it waits.

#include <cstddef>
#include <cstdint>

namespace tessaro::sim {

enum class IoResult {
  Ok,
  Timeout,
  Closed,     // the peer went away or the descriptor failed
  Stopped,    // the server is stopping
  Preempted,  // a new client is waiting (only while waiting for a command)
};

class SimStream {
 public:
  // Does not own the descriptors. preemptFd (a listening socket, or -1) is
  // watched while ReadByte waits with allowPreempt.
  SimStream(int fd, int stopFd, int preemptFd = -1);

  // timeoutMs < 0 waits without limit.
  IoResult ReadByte(uint8_t& byte, int timeoutMs, bool allowPreempt = false);
  // A byte already received or arriving now, without waiting.
  bool PollByte(uint8_t& byte);
  // baud > 0 paces the output at 10 bits a byte.
  IoResult Write(const uint8_t* data, size_t size, int baud = 0);
  IoResult Sleep(int milliseconds);
  // Drops what has been received and not read yet.
  void DiscardInput();

 private:
  IoResult Fill(int timeoutMs, bool allowPreempt);
  IoResult WaitWritable();

  int fd_;
  int stopFd_;
  int preemptFd_;
  bool socket_;  // send() with MSG_NOSIGNAL; a pty master takes write()
  uint8_t buffer_[4096];
  size_t begin_ = 0;
  size_t end_ = 0;
};

}  // namespace tessaro::sim
