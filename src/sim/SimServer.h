#pragma once
// The simulator in-process: recorders behind a TCP listener on 127.0.0.1
// and/or a pseudo-terminal, each served by its own thread that sleeps in
// poll(). One client at a time per transport; a new TCP client replaces
// an idle one, and serving goes on after a client disconnects.
//
//   tessaro::sim::SimServer server;             // default recorder
//   int port = server.StartTcp();               // ephemeral port
//   server.GetFaults().Set({.dropBlock = 3});
//   ... talk to 127.0.0.1:port ...
//   server.GetRecorder().RingBytes(0);          // what a collection receives

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/support/File.h"
#include "sim/Faults.h"
#include "sim/Recorder.h"
#include "sim/RecorderProfile.h"

namespace tessaro::sim {

class SimServer {
 public:
  // slaveIds empty: one directly connected recorder. Otherwise one recorder
  // per ID, answering only commands framed with its slave header.
  explicit SimServer(const RecorderProfile& profile = DefaultProfile(),
                     const std::vector<int>& slaveIds = {});
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // Listens on 127.0.0.1:port (0 = any free port) and returns the port.
  // Throws std::runtime_error when the socket cannot be set up.
  int StartTcp(int port = 0);
  // Opens a pseudo-terminal in raw mode and returns the device path for
  // the client. Throws std::runtime_error on failure.
  std::string StartPty();
  // Ends both transports and joins their threads; idempotent.
  void Stop();

  bool Slaved() const { return slaved_; }
  // The recorder of a slave ID; -1 (or any ID when not slaved) gives the
  // first one. Throws std::out_of_range for an unknown ID when slaved.
  Recorder& GetRecorder(int slaveId = -1);
  Faults& GetFaults() { return faults_; }

  int TcpPort() const { return tcpPort_; }
  const std::string& PtyPath() const { return ptyPath_; }

 private:
  void ServeTcp();
  void ServePty();

  bool slaved_;
  std::map<int, std::unique_ptr<Recorder>> owned_;
  std::map<int, Recorder*> recorders_;
  Faults faults_;

  File stopEvent_;  // eventfd, readable once Stop() was called
  File listener_;
  File ptyMaster_;
  File ptySlave_;  // held open so the master never sees a hang-up
  int tcpPort_ = 0;
  std::string ptyPath_;
  std::thread tcpThread_;
  std::thread ptyThread_;
};

}  // namespace tessaro::sim
