#pragma once
// The TCP line component: the line protocol over a connection to a network
// gateway. Each Open makes a fresh non-blocking client; reads wait in poll()
// for at most CommWait per byte, including the wait for the connection, and
// a whole reply line or block for a few CommWaits.

#include <functional>
#include <memory>
#include <string>

#include "core/line/LineComponent.h"
#include "core/line/SocketClient.h"

namespace tessaro {

class TSocketEx : public TLineComponent {
 public:
  TSocketEx();
  ~TSocketEx() override;

  // Closes any previous client, then starts connecting to Host (or Address
  // when Host is empty) and Port. Never raises: a failed connection shows in
  // OnError and in failing transfers.
  void Open();
  void Close();
  // A client exists (it may still be connecting, or have failed).
  bool Active() const { return client_ != nullptr; }
  bool Connected() const;

  const std::string& Host() const { return host_; }
  void SetHost(std::string host) { host_ = std::move(host); }
  const std::string& Address() const { return address_; }
  void SetAddress(std::string address) { address_ = std::move(address); }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }

  // Called on the client's thread; set before Open. A handler must not Close
  // or Open synchronously: the GUI posts them to its own thread.
  std::function<void()> OnConnecting;
  std::function<void()> OnConnect;
  std::function<void()> OnDisconnect;
  std::function<void(int errorCode)> OnError;

  bool PutChar(uint8_t byte) override;
  bool GetChar(uint8_t& byte) override;
  int InCount() override;
  // Discards what has already arrived, without waiting.
  void Purge() override;
  // Up to CR; 1023 bytes without a CR are taken as the line, the rest stays.
  // Bytes that trickle in too slowly for the whole line fail it.
  bool RecvLine(std::string& text) override;
  int RecvBlock(bool large, uint8_t* buffer) override;

 protected:
  bool WriteBytes(const uint8_t* bytes, size_t n) override;
  // A few CommWaits.
  int WholeReplyMs(int bytes) const override;

 private:
  // The connected socket, waiting for the connection up to the deadline.
  int Socket(LineClock::time_point deadline);
  // Exactly n bytes; each piece must start arriving within CommWait, and
  // all of them before limit.
  bool ReadExact(uint8_t* buffer, size_t n, LineClock::time_point limit);
  void ReportError(int error);

  std::unique_ptr<TSocketClient> client_;
  std::string host_;
  std::string address_;
  int port_ = 0;
};

}  // namespace tessaro
