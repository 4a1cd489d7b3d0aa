#pragma once
// One non-blocking TCP client connection. Name lookup and connect run on the
// client's own thread, which then watches for the peer closing; the outcome
// is reported through the notifications (called on that thread: a GUI
// forwards them to its own thread). Reads and writes use the socket directly.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "core/line/LineWait.h"
#include "core/line/UniqueFd.h"

namespace tessaro {

struct SocketNotifications {
  std::function<void()> onConnecting;
  std::function<void()> onConnect;
  std::function<void()> onDisconnect;
  std::function<void(int errorCode)> onError;  // errno value
};

class TSocketClient {
 public:
  // Starts connecting at once.
  TSocketClient(std::string host, int port, SocketNotifications notifications);
  TSocketClient(const TSocketClient&) = delete;
  TSocketClient& operator=(const TSocketClient&) = delete;
  // Abandons a pending connect and waits for the client's thread (a name
  // lookup in progress is waited for).
  ~TSocketClient();

  // The socket once connected (also after the peer closed: unread bytes stay
  // readable), waiting at most until the deadline; -1 when the connection
  // failed or is not made in time.
  int WaitConnected(LineClock::time_point deadline);
  // The socket without waiting; -1 while connecting or after a failure.
  int ConnectedFd();
  bool Failed();

 private:
  enum class State { Connecting, Connected, Closed, Failed };

  void Run();
  bool Connect(int& error);
  bool WaitWritable(int fd);
  void SetState(State state);
  void Notify(const std::function<void()>& handler);

  const std::string host_;
  const int port_;
  const SocketNotifications notifications_;
  UniqueFd socket_;
  UniqueFd wake_;
  std::mutex mutex_;
  std::condition_variable changed_;
  State state_ = State::Connecting;
  std::thread thread_;
};

}  // namespace tessaro
